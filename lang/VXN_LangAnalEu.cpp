#include "lang/VXN_LangAnalEu.h"

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "frontend/kvap_util.h"
#include "frontend/synth_util.h"
#include "lang/VXN_LangAnalEu_factory.h"

namespace {

struct LanguageRow {
  int id;
  const char* module;
  const char* initEntry;
  const char* dictionary;
  const char* encoding;
  const char* releaseEntry;
};

const LanguageRow kLanguages[] = {
    {1, "libVXN_lang_usen.so", "initialize_g2p_enUS_tts", "us_dict", "iso-8859-15", "deinitialize_g2p_enUS"},
    {2, "libVXN_lang_uken.so", "initialize_g2p_enGB_tts", "gb_dict", "iso-8859-15", "deinitialize_g2p_enGB"},
    {3, "libVXN_lang_auen.so", "initialize_g2p_enAU_tts", "au_dict", "iso-8859-15", "deinitialize_g2p_enAU"},
    {4, "libVXN_lang_ge.so", "initialize_g2p_deDE_tts", "de_dict", "iso-8859-15", "deinitialize_g2p_deDE"},
    {5, "libVXN_lang_fr.so", "initialize_g2p_frFR_tts", "fr_dict", "iso-8859-15", "deinitialize_g2p_frFR"},
    {6, "libVXN_lang_es.so", "initialize_g2p_esES_tts", "es_dict", "iso-8859-15", "deinitialize_g2p_esES"},
    {7, "libVXN_lang_it.so", "initialize_g2p_itIT_tts", "it_dict", "iso-8859-15", "deinitialize_g2p_itIT"},
    {8, "libVXN_lang_nl.so", "initialize_g2p_nlNL_tts", "nl_dict", "iso-8859-15", "deinitialize_g2p_nlNL"},
    {10, "libVXN_lang_br.so", "initialize_g2p_ptBR_tts", "br_dict", "iso-8859-15", "deinitialize_g2p_ptBR"},
    {11, "libVXN_lang_pl.so", "initialize_g2p_plPL_tts", "pl_dict", "iso-8859-2", "deinitialize_g2p_plPL"},
    {12, "libVXN_lang_ru.so", "initialize_g2p_ruRU_tts", "ru_dict", "iso-8859-5", "deinitialize_g2p_ruRU"},
    {13, "libVXN_lang_dk.so", "initialize_g2p_daDK_tts", "dk_dict", "iso-8859-15", "deinitialize_g2p_daDK"},
    {14, "libVXN_lang_se.so", "initialize_g2p_svSE_tts", "se_dict", "iso-8859-15", "deinitialize_g2p_svSE"},
    {15, "libVXN_lang_fi.so", "initialize_g2p_fiFI_tts", "fi_dict", "iso-8859-15", "deinitialize_g2p_fiFI"},
    {16, "libVXN_lang_no.so", "initialize_g2p_nbNO_tts", "no_dict", "iso-8859-15", "deinitialize_g2p_nbNO"},
    {17, "libVXN_lang_pt.so", "initialize_g2p_ptPT_tts", "pt_dict", "iso-8859-15", "deinitialize_g2p_ptPT"},
};

const LanguageRow& language_row(int id) {
  for (const LanguageRow& row : kLanguages)
    if (row.id == id) return row;
  return kLanguages[0];
}

typedef void* (*InitEntry)(int, char*, char*);
typedef void (*ReleaseEntry)(void*);

const char kFixedRightLabel[] =
    "r^ai-t+a=b@3_1/A:0_0_0/B:1-1-3@1-1&1-1#1-1$2-2!0-0;0-0|ai/C:1+1+2/D:0_0/E:content+1@1+1&2+2#0+0/"
    "F:content_2/G:0_0/H:1=1@1=2|0/I:2=1/J:3+2-2";

bool is_white(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }
bool is_line_break(char c) { return c == '\n' || c == '\r'; }
bool is_alnum(unsigned char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool is_sentence_mark(char c) { return c && strchr(".?!:", c) != nullptr; }

size_t bytes_left(const char* s, size_t limit) { return strnlen(s, limit); }

// A '.' directly preceded by the letters Dr or St (an abbreviation).
bool after_title(const char* start, const char* p) {
  return p - start >= 2 && ((p[-2] == 'D' && p[-1] == 'r') || (p[-2] == 'S' && p[-1] == 't'));
}

// Silence tag: a piece whose '<' lies in its first three bytes and whose '>'
// in its last three bytes, with a body between them; the value of the key
// "silence" in the body (the last "silence=<digits>" wins; 0 without one).
int silence_tag_value(const char* piece) {
  int n = (int)strlen(piece);
  if (n < 5) return 0;
  int l = -1, r = -1;
  for (int i = 0; i < n && i < 3; ++i)
    if (piece[i] == '<') { l = i; break; }
  if (l < 0) return 0;
  for (int i = n - 3 < 0 ? 0 : n - 3; i < n; ++i)
    if (piece[i] == '>') { r = i; break; }
  if (r - l - 1 < 1) return 0;
  std::string body(piece + l + 1, (size_t)(r - l - 1));
  int value = 0;
  for (size_t i = 0; i < body.size(); ++i)
    if (body[i] == '=' && body.compare(0, i, "silence") == 0) value = atoi(body.c_str() + i + 1);
  return value;
}

}  // namespace

// The label buffers start at room for a sentence-sized piece (a piece of
// television text has a few dozen segments) and grow to a longer piece's
// count when one comes.
CLangAnalEu::CLangAnalEu()
    : labelCapacity(128),
      labelSize(256),
      language(1),
      textBuffer(nullptr),
      curText(nullptr),
      nextText(nullptr),
      voice(nullptr),
      spellPauseCount(0),
      pluginHandle(nullptr) {
  textDone = true;
  normalCur = true;
  normalPrev = true;
  silenceTime = 0;
  labelCount = 0;
  uttType = 0;
  if (!AllocateLabels(labelCapacity)) labelCapacity = 0;
}

CLangAnalEu::~CLangAnalEu() {
  VXN_free(textBuffer);
  textBuffer = nullptr;
  CloseModule();
}

bool CLangAnalEu::AllocateLabels(int count) {
  labels = (char**)VXN_calloc((size_t)count, sizeof(char*));
  if (!labels) return false;
  for (int i = 0; i < count; ++i) {
    labels[i] = (char*)VXN_calloc((size_t)labelSize, 1);
    if (!labels[i]) {
      labelCapacity = i;
      return false;
    }
  }
  labelCapacity = count;
  return true;
}

void CLangAnalEu::FreeLabels() {
  if (labels) {
    for (int i = 0; i < labelCapacity; ++i) VXN_free(labels[i]);
    VXN_free(labels);
  }
  labels = nullptr;
  labelCapacity = 0;
}

int CLangAnalEu::InitialLoad(char* libDir, char* dictDir) { return InitialRegister(libDir, dictDir); }

void CLangAnalEu::CloseModule() {
  FreeLabels();
  CloseRegister();
}

void CLangAnalEu::SetLanguage(int id) { language = id; }

int CLangAnalEu::RefreshInput() {
  VXN_free(textBuffer);
  textBuffer = nullptr;
  curText = nextText = nullptr;
  textDone = true;
  normalCur = true;
  normalPrev = true;
  silenceTime = 0;
  return 1;
}

int CLangAnalEu::GetPorcessedTextLength() {
  if (!textBuffer || !nextText) return 0;
  return (int)(nextText - textBuffer);
}

int CLangAnalEu::InitialRegister(char* libDir, char* dictDir) {
  const LanguageRow& row = language_row(language);
  char path[256];
  snprintf(path, sizeof(path), "%s%s", libDir ? libDir : "", row.module);
  CloseRegister();
  pluginHandle = dlopen(path, RTLD_LAZY);
  if (!pluginHandle) {
    VXN_print(VXN_LEVEL_ERROR, "error [1060] : Cannot load the language module %s: %s\n", path,
              dlerror());
    return 0;
  }
  InitEntry init = (InitEntry)dlsym(pluginHandle, row.initEntry);
  if (!init) {
    VXN_print(VXN_LEVEL_ERROR, "error [1060] : The language module %s has no entry %s\n", path,
              row.initEntry);
    dlclose(pluginHandle);
    pluginHandle = nullptr;
    return 0;
  }
  char dict[256];
  char encoding[32];
  snprintf(dict, sizeof(dict), "%s%s", dictDir ? dictDir : "", row.dictionary);
  snprintf(encoding, sizeof(encoding), "%s", row.encoding);
  voice = init(0, dict, encoding);
  if (!voice) {
    VXN_print(VXN_LEVEL_ERROR, "error [1060] : The language module %s returned no voice\n", path);
    dlclose(pluginHandle);
    pluginHandle = nullptr;
    return 0;
  }
  return 1;
}

void CLangAnalEu::CloseRegister() {
  if (!voice) return;
  const LanguageRow& row = language_row(language);
  ReleaseEntry release = pluginHandle ? (ReleaseEntry)dlsym(pluginHandle, row.releaseEntry) : nullptr;
  if (release) release(voice);
  voice = nullptr;
  if (pluginHandle) dlclose(pluginHandle);
  pluginHandle = nullptr;
}

bool CLangAnalEu::CheckInput(const char* s, const char* set) {
  return bytes_left(s, 2) >= 2 && strchr(set, s[0]) != nullptr;
}

bool CLangAnalEu::CheckComma(const char* s) { return bytes_left(s, 3) >= 3 && s[0] == ',' && s[1] == ' '; }

int CLangAnalEu::CheckPunctuation(const char* s) {
  if (bytes_left(s, 4) < 4) return 0;
  if (is_sentence_mark(s[0]) && is_white(s[1])) return 1;
  if (is_sentence_mark(s[0]) && s[1] == '"' && is_white(s[2])) return 2;
  if (is_line_break(s[0]) && is_line_break(s[1])) return 1;
  if (s[0] == VXN_BREAK_MARKER) return 1;
  return 0;
}

bool CLangAnalEu::IsLongLetter(const char* word, int length) {
  if (length < 20) return false;
  char middle = word[length / 2];
  bool same = true, alnum = true;
  for (int i = 0; i < length; ++i) {
    same = same && word[i] == middle;
    alnum = alnum && is_alnum((unsigned char)word[i]);
  }
  return same || alnum;
}

void CLangAnalEu::CutJoinText(char* word, int* length) {
  if (*length <= 50) return;
  memmove(word + 25, word + *length - 25, 25);
  *length = 50;
  word[50] = '\0';
}

void CLangAnalEu::HanldeExcpeptionalText(char* word, int* length) {
  for (int at = 10; at < *length - 5; at += 10) {
    memmove(word + at + 1, word + at, (size_t)(*length - at));
    word[at] = ' ';
    ++*length;
  }
  word[*length] = '\0';
  spellPauseCount += (uint32_t)(*length / 10);
}

void CLangAnalEu::ProcessLongLetterText(char* text) {
  std::string out;
  size_t n = strlen(text);
  size_t start = 0;
  std::vector<char> word;
  bool first = true;
  while (start <= n) {
    const char* space = strchr(text + start, ' ');
    size_t end = space ? (size_t)(space - text) : n;
    int len = (int)(end - start);
    // Room for the spaces a string of up to 50 bytes can receive.
    word.assign((size_t)len + 16, '\0');
    memcpy(word.data(), text + start, (size_t)len);
    if (IsLongLetter(word.data(), len)) {
      CutJoinText(word.data(), &len);
      HanldeExcpeptionalText(word.data(), &len);
    }
    if (!first) out += ' ';
    first = false;
    out.append(word.data(), (size_t)len);
    if (!space) break;
    start = end + 1;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  memcpy(text, out.c_str(), out.size() + 1);
}

int CLangAnalEu::PreprocessFirstSentence(char* text) {
  if (!text) return 0;
  ProcessLongLetterText(text);
  if (spellPauseCount != 0) {
    usleep(spellPauseCount * 10000u);
    spellPauseCount = 0;
  }
  int n = (int)strlen(text);
  if (n < 50) return 0;
  int punctuation = 0, lastComma = -1, firstSpace = -1;
  for (int i = 0; i < 50; ++i) {
    if (CheckPunctuation(text + i)) ++punctuation;
    if (CheckComma(text + i)) lastComma = i;
    if (i >= 26 && firstSpace < 0 && text[i] == ' ') firstSpace = i;
  }
  if (punctuation == 0) {
    if (lastComma >= 0)
      text[lastComma] = '.';
    else if (firstSpace >= 0)
      text[firstSpace] = VXN_BREAK_MARKER;
  }
  if (n < 150) return 0;
  int lastBreak = 0;
  for (int i = 0; i < 150; ++i) {
    int left = n - i;
    if (CheckPunctuation(text + i)) {
      lastBreak = i;
    } else if (left >= 3 && i - lastBreak > 50 && text[i] == ',' && text[i + 1] == ' ') {
      text[i] = '.';
      lastBreak = i;
    } else if (left >= 2 && i - lastBreak > 100 && text[i] == ' ') {
      text[i] = VXN_BREAK_MARKER;
      lastBreak = i;
    }
  }
  return 0;
}

void CLangAnalEu::BuildTextBuffer(const char* text) {
  static const char kBreakSet[] = {'.', ',', '?', '!', '"', '-', ' ', VXN_BREAK_MARKER, '\0'};
  int n = (int)strlen(text);
  std::vector<int> cuts;
  int lastBreak = -1;
  for (int i = 0; i < n; ++i) {
    bool isBreak = CheckInput(text + i, kBreakSet);
    if (!isBreak && text[i] == '\'' && i + 5 < n) {
      const char* space = strchr(text + i + 1, ' ');
      isBreak = !space || space - (text + i) > 4;
    }
    if (isBreak) {
      lastBreak = i;
    } else if ((i < 50 && i - lastBreak > 25) || (i >= 50 && i - lastBreak > 30)) {
      cuts.push_back(i);
      lastBreak = i;
    }
  }
  cuts.push_back(n);
  textBuffer = (char*)VXN_calloc((size_t)n + cuts.size() + 1, 1);
  if (!textBuffer) return;
  char* w = textBuffer;
  int from = 0;
  for (int cut : cuts) {
    memcpy(w, text + from, (size_t)(cut - from));
    w += cut - from;
    *w++ = VXN_BREAK_MARKER;
    from = cut;
  }
  curText = textBuffer;
}

void CLangAnalEu::FindPiece() {
  textDone = true;
  normalPrev = normalCur;
  normalCur = true;
  char* p = curText;
  char* lastSpace = curText;
  int accepted = 0;
  auto soft_cut = [&](char* at) {
    *at = '\0';
    nextText = at + 1;
    normalCur = false;
    textDone = false;
  };
  while (*p) {
    if (accepted == 0 && p == curText && is_white(*p)) {
      ++curText;
      ++p;
      lastSpace = curText;
      continue;
    }
    size_t left = bytes_left(p, 4);
    if (accepted < 2) {
      if (*p == VXN_BREAK_MARKER && left == 1) {
        *p = '\0';
        break;
      }
      ++accepted;
      ++p;
      continue;
    }
    if (*p == ' ') {
      lastSpace = p;
    } else if (left >= 2 && p - lastSpace >= 100) {
      soft_cut(p);
      break;
    }
    if (left >= 3 && is_sentence_mark(*p) && is_white(p[1]) && !(*p == '.' && after_title(curText, p))) {
      p[1] = '\0';
      nextText = p + 2;
      textDone = false;
      break;
    }
    if (left >= 4 && is_sentence_mark(*p) && p[1] == '"' && is_white(p[2])) {
      p[2] = '\0';
      nextText = p + 3;
      textDone = false;
      break;
    }
    if (left >= 3 && is_line_break(p[0]) && is_line_break(p[1])) {
      p[0] = '\0';
      nextText = p + 2;
      textDone = false;
      break;
    }
    if (*p == VXN_BREAK_MARKER) {
      if (left >= 2)
        soft_cut(p);
      else
        *p = '\0';
      break;
    }
    if (left >= 3 && p - curText >= 100 && p[0] == ',' && p[1] == ' ') {
      p[1] = '\0';
      nextText = p + 2;
      textDone = false;
      break;
    }
    if (left >= 2 && p - curText >= 200 && *p == ' ') {
      soft_cut(p);
      break;
    }
    ++accepted;
    ++p;
  }
  if (textDone) nextText = nullptr;
}

int CLangAnalEu::TextAnalyze(const char* text) {
  if (nextText) {
    curText = nextText;
  } else {
    VXN_free(textBuffer);
    textBuffer = nullptr;
    curText = nullptr;
    if (!text) return 0;
    BuildTextBuffer(text);
    if (!textBuffer) return 0;
  }
  FindPiece();
  const char* piece = curText;
  size_t len = strlen(piece);
  char* output = (char*)VXN_calloc(2 * len + 1, 1);
  if (!output) return 0;
  if (language == 1 || language == 2 || language == 3)
    TextAnalyzePreprocessEnglish(piece, output);
  else
    memcpy(output, piece, len);
  uttType = CheckType(piece);
  int silence = silence_tag_value(piece);
  if (silence > 0) {
    silenceTime = silence;
    VXN_free(output);
    return -1;
  }
  if (len == 0 || !voice) {
    VXN_free(output);
    return 0;
  }
  cst_utterance* u = flite_synth_text(output, (cst_voice*)voice, nullptr);
  VXN_free(output);
  if (!u) return 0;
  cst_relation* segments = utt_relation(u, "Segment");
  int count = 0;
  for (cst_item* s = segments ? relation_head(segments) : nullptr; s; s = item_next(s)) ++count;
  if (count <= 2) {
    delete_utterance(u);
    return 0;
  }
  if (count > labelCapacity) {
    FreeLabels();
    if (!AllocateLabels(count)) {
      FreeLabels();
      delete_utterance(u);
      labelCount = 0;
      return 0;
    }
  }
  labelCount = count;
  for (int i = 0; i < labelCapacity; ++i) memset(labels[i], 0, (size_t)labelSize);
  bool right = text && strlen(text) > 5 && (strncmp(text, "right", 5) == 0 || strncmp(text, "Right", 5) == 0);
  int i = 0;
  kvap_feature_cache cache;
  kvap_feature_cache_init(&cache);
  for (cst_item* s = relation_head(segments); s; s = item_next(s), ++i) {
    Flite_VXN_Engine_create_label(s, labels[i], uttType, &cache);
    if (right && i == 3 && strncmp(labels[3], "r^ai-t+pau=x", 12) == 0)
      snprintf(labels[3], (size_t)labelSize, "%s", kFixedRightLabel);
  }
  delete_utterance(u);
  return labelCount;
}

int CLangAnalEu::TextAnalyzePreprocessEnglish(const char* in, char* out) {
  int n = (int)strlen(in);
  int j = 0;
  for (int i = 0; i < n; ++i) {
    char c = in[i];
    if (c == '.' && i >= 2 && i < n - 1 &&
        ((in[i - 2] == 'D' && in[i - 1] == 'r') || (in[i - 2] == 'S' && in[i - 1] == 't')) &&
        is_alnum((unsigned char)in[i + 1])) {
      out[j++] = ' ';
      continue;
    }
    if ((c == 'A' || c == 'a') && i >= 4 && i < n - 1 && (in[i + 1] == 'M' || in[i + 1] == 'm') &&
        in[i - 1] == ' ' && is_digit((unsigned char)in[i - 2]) && is_digit((unsigned char)in[i - 3]) &&
        in[i - 4] == ':') {
      out[j++] = 'A';
      out[j++] = ' ';
      continue;
    }
    if ((c == 'O' || c == 'o') && i >= 2 && i < n - 2 && in[i - 1] == ' ' && in[i - 2] == ',' &&
        ((in[i + 1] == 'f' && in[i + 2] == 'f') || in[i + 1] == 'n') && j >= 2 && out[j - 2] == ',')
      out[j - 2] = ' ';
    out[j++] = c;
  }
  out[j] = '\0';
  return n;
}

char CLangAnalEu::CheckType(const char* piece) {
  size_t n = piece ? strlen(piece) : 0;
  if (n >= 2 && (piece[n - 1] == '?' || piece[n - 2] == '?')) return 'B';
  return 'A';
}

void CLangAnalEu::Flite_VXN_Engine_create_label(cst_item_struct* segment, char* out, char type,
                                                kvap_feature_cache* cache) {
  kvap_seg_context c;
  kvap_seg_context_read_cached(segment, &c, cache);
  const char* n[5];
  for (int k = 0; k < 5; ++k) n[k] = kvap_label_name(c.phone[k]);
  size_t size = (size_t)labelSize;
  if (language == -1) {
    if (c.pause) {
      snprintf(out, size,
               "%s^%s-%s+%s=%s/A:%d_%d/B:x-x@x-x&x-x|x/C:%d+%d/D:%s_%d/E:x+x@x+x&x+x#x+x/F:%s_%d/H:x=x@%d=%d|%s/"
               "J:%d-%d/T:utt%c",
               n[0], n[1], n[2], n[3], n[4], c.a1, c.a2, c.c1, c.c2, c.d1, c.d2, c.f1, c.f2, c.h3, c.h4, c.h5, c.j2,
               c.j3, type);
      return;
    }
  } else if (c.pause) {
    snprintf(out, size,
             "%s^%s-%s+%s=%s@x_x/A:%d_%d_%d/B:x-x-x@x-x&x-x#x-x$x-x!x-x;x-x|x/C:%d+%d+%d/D:%s_%d/"
             "E:x+x@x+x&x+x#x+x/F:%s_%d/G:%d_%d/H:x=x@x=x|%s/I:%d=%d/J:%d+%d-%d",
             n[0], n[1], n[2], n[3], n[4], c.a1, c.a2, c.a3, c.c1, c.c2, c.c3, c.d1, c.d2, c.f1, c.f2, c.g1, c.g2,
             c.h5, c.i1, c.i2, c.j1, c.j2, c.j3);
    return;
  }
  // Phrase-final units not followed by a pause within two segments count as
  // having one more unit after them.
  int b7 = (!c.pauseAhead && c.b[7] == 1) ? 2 : c.b[7];
  int e4 = (!c.pauseAhead && c.e[4] == 1) ? 2 : c.e[4];
  bool adjustE6 = language == 1 || language == 2 || language == 3 || language == 5 || language == 6 ||
                  language == 7;
  int e6 = (adjustE6 && !c.pauseAhead && c.e[6] == 1) ? 2 : c.e[6];
  if (language == -1) {
    char vowel[KVAP_NAME_SIZE];
    kvap_copy(vowel, c.b16, sizeof(vowel));
    snprintf(out, size,
             "%s^%s-%s+%s=%s/A:%d_%d/B:%d-%d@%d-%d&%d-%d|%s/C:%d+%d/D:%s_%d/E:%s+%d@%d+%d&%d+%d#%d+%d/F:%s_%d/"
             "H:%d=%d@%d=%d|%s/J:%d-%d/T:utt%c",
             n[0], n[1], n[2], n[3], n[4], c.a1, c.a2, c.b[1], c.b[2], c.b[4], c.b[5], c.b[6], b7, vowel, c.c1,
             c.c2, c.d1, c.d2, c.e1, c.e[2], c.e[3], e4, c.e[5], e6, c.e[7], c.e[8], c.f1, c.f2, c.h1, c.h2, c.h3,
             c.h4, c.h5, c.j2, c.j3, type);
    return;
  }
  int h4 = c.h4 < 3 ? c.h4 : 3;
  snprintf(out, size,
           "%s^%s-%s+%s=%s@%d_%d/A:%d_%d_%d/B:%d-%d-%d@%d-%d&%d-%d#%d-%d$%d-%d!%d-%d;%d-%d|%s/C:%d+%d+%d/D:%s_%d/"
           "E:%s+%d@%d+%d&%d+%d#%d+%d/F:%s_%d/G:%d_%d/H:%d=%d@%d=%d|%s/I:%d=%d/J:%d+%d-%d",
           n[0], n[1], n[2], n[3], n[4], c.p6, c.p7, c.a1, c.a2, c.a3, c.b[1], c.b[2], c.b[3], c.b[4], c.b[5],
           c.b[6], b7, c.b[8], c.b[9], c.b[10], c.b[11], c.b[12], c.b[13], c.b[14], c.b[15], c.b16, c.c1, c.c2, c.c3,
           c.d1, c.d2, c.e1, c.e[2], c.e[3], e4, c.e[5], e6, c.e[7], c.e[8], c.f1, c.f2, c.g1, c.g2, c.h1, c.h2, c.h3,
           h4, c.h5, c.i1, c.i2, c.j1, c.j2, c.j3);
}

CLangAnalEuBase* VXN_create_european_analyzer() { return new CLangAnalEu(); }

CLangAnalEuBase* CreateLangEnglish() { return new CLangAnalEu(); }

void DestroyLangEnglish(CLangAnalEuBase* analyzer) { delete analyzer; }
