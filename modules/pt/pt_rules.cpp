#include "modules/pt/pt_rules.h"

namespace {

const char* const kDet[] = {"o",    "a",    "os",   "as",    "um",    "uma",   "uns",  "umas", "este", "esta",
                            "estes", "estas", "esse", "essa", "esses", "essas", "aquele", "aquela", "cada", nullptr};
const char* const kIn[] = {"de",   "em",   "por",  "para", "com",   "sem",   "sobre", "entre", "até",   "desde",
                           "contra", "após", "do",  "da",   "dos",   "das",   "no",    "na",    "nos",   "nas",
                           "ao",   "aos",  "à",    "às",   "pelo",  "pela",  "pelos", "pelas", "num",   "numa", nullptr};
const char* const kCc[] = {"e", "ou", "mas", "porque", "que", "se", "nem", "pois", "como", "quando", nullptr};
const char* const kAux[] = {"é", "são", "era", "eram", "foi", "foram", "ser", "está", "estão", "estar", "tem", "têm",
                            "ter", "há", "havia", "será", nullptr};
const char* const kPps[] = {"eu", "tu", "ele", "ela", "nós", "eles", "elas", "você", "vocês", "me", "te", "se",
                            "lhe", "lhes", "meu", "minha", "seu", "sua", "seus", "suas", nullptr};
const char* const kMd[] = {"pode", "podem", "deve", "devem", "vai", "vão", nullptr};
const char* const kWp[] = {"quem", "qual", "quais", "onde", "quanto", "quanta", "porquê", nullptr};

// Nouns whose numbers take the feminine ("duas horas", "vinte e uma pessoas").
bool feminine_noun(const std::string& word) {
  static const char* const kWords[] = {
      "hora",    "horas",  "pessoa",  "pessoas", "semana", "semanas", "vez",      "vezes",    "casa",
      "casas",   "libra",  "libras",  "tonelada", "toneladas", "vítima", "vítimas", "criança", "crianças",
      "mulher",  "mulheres", "equipa", "equipas", "equipe", "equipes", "famílias", "família", "vagas",
      "empresas", "escolas", "cidades", "mortes", "páginas", "etapas", "medalhas", "jornadas", "rodadas",
      "voltas",  "noites", "casas", nullptr};
  for (int i = 0; kWords[i]; ++i)
    if (word == kWords[i]) return true;
  return false;
}

// Digits with optional groups of three after dots ("2.500"), no leading zero.
bool integer_of(const std::string& text, std::string* digits) {
  digits->clear();
  size_t start = 0;
  for (int part = 0;; ++part) {
    size_t dot = text.find('.', start);
    const std::string p = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (!eu_is_digits(p) || (part == 0 ? p.size() > 3 && dot != std::string::npos : p.size() != 3)) return false;
    *digits += p;
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return (*digits)[0] != '0';
}

int roman_value(const std::string& s) {
  int value = 0, last = 0;
  for (size_t i = s.size(); i-- > 0;) {
    int v = s[i] == 'I' ? 1 : s[i] == 'V' ? 5 : s[i] == 'X' ? 10 : s[i] == 'L' ? 50 : s[i] == 'C' ? 100 : 0;
    if (v == 0) return 0;
    value += v < last ? -v : v;
    last = v > last ? v : last;
  }
  return value;
}

bool is_month(const pt_variant& v, const std::string& word) {
  for (int m = 0; m < 12; ++m)
    if (word == v.months[m]) return true;
  return false;
}

// "20h15", "20h", "9h30min": hours and minutes; false when text is none.
bool hours_written(const std::string& text, int* hours, int* minutes) {
  size_t h = text.find('h');
  if (h == std::string::npos || h == 0 || h > 2) return false;
  std::string a = text.substr(0, h), b = text.substr(h + 1);
  if (b.size() > 3 && b.compare(b.size() - 3, 3, "min") == 0) b.resize(b.size() - 3);
  if (!eu_is_digits(a) || (!b.empty() && (b.size() != 2 || !eu_is_digits(b)))) return false;
  *hours = std::stoi(a);
  *minutes = b.empty() ? 0 : std::stoi(b);
  return *hours <= 24 && *minutes <= 59;
}

// "1964-1985": two years in order, a range rather than a telephone number.
bool year_range(const std::string& text, size_t dash) {
  if (dash != 4) return false;
  const int a = std::stoi(text.substr(0, 4)), b = std::stoi(text.substr(5));
  return a >= 1000 && b <= 2100 && a < b;
}

}  // namespace

const kvap_gpos_class pt_function_words[] = {{"det", kDet}, {"in", kIn}, {"cc", kCc}, {"aux", kAux},
                                             {"pps", kPps}, {"md", kMd}, {"wp", kWp}, {nullptr, nullptr}};

bool pt_read_time(eu_context* c, int hours, int minutes, std::vector<std::string>* out) {
  // Hours agree with "horas" (feminine): "uma hora", "vinte e duas horas".
  c->spell("%spellout-cardinal-feminine", std::to_string(hours), out);
  out->push_back(hours == 1 ? "hora" : "horas");
  if (minutes > 0) {
    out->push_back("e");
    c->spell("%spellout-numbering", std::to_string(minutes), out);
  }
  const std::string next = eu_lower(c->lang, c->token_text(1));
  if (c->punctuation(0).empty() && (next == "h" || next == "horas" || next == "hrs")) c->consume_next();
  return true;
}

bool pt_read_date(eu_context* c, const pt_variant& v, int day, int month, int year, std::vector<std::string>* out) {
  if (day == 1 && v.first_as_ordinal)
    out->push_back("primeiro");
  else
    c->spell("%spellout-numbering", std::to_string(day), out);
  out->push_back("de");
  out->push_back(v.months[month - 1]);
  if (year >= 0) {
    out->push_back("de");
    c->spell("%spellout-numbering", std::to_string(year), out);
  }
  return true;
}

bool pt_ordinal_rule(eu_context* c, const std::string& digits, const std::string& mark,
                     std::vector<std::string>* out) {
  if (mark != "R") return false;
  // Kings and popes take ordinals up to ten (D. João VI: sexto), cardinals
  // above (Bento XVI: dezasseis); a queen's name ending in -a takes the
  // feminine (D. Maria II: segunda).
  const std::string name = eu_lower(c->lang, c->token_text(-1));
  const bool feminine = name.size() > 1 && name.back() == 'a';
  if (std::stoi(digits) > 10) return c->spell("%spellout-numbering", digits, out);
  return c->spell(feminine ? "%spellout-ordinal-feminine" : "%spellout-ordinal-masculine", digits, out);
}

namespace {

// A match score written with a free-standing x, "2 x 1": dois a um. (A
// one-token "4x4" is more often a vehicle or a size than a score.)
bool x_score(eu_context* c, const std::string& text, std::vector<std::string>* out) {
  const std::string x = c->token_text(1), b = c->token_text(2);
  if (!c->punctuation(0).empty() || (x != "x" && x != "X") || !c->punctuation(1).empty()) return false;
  if (!eu_is_digits(text) || !eu_is_digits(b) || text.size() > 2 || b.size() > 2) return false;
  c->spell("%spellout-numbering", text, out);
  eu_push_words(c->lang->score, out);
  c->spell("%spellout-numbering", b, out);
  c->consume_next();
  c->consume_next();
  return true;
}

}  // namespace

bool pt_token_rule(eu_context* c, const pt_variant& v, const std::string& text, std::vector<std::string>* out) {
  const std::string next = c->token_text(1);
  const std::string punc = c->punctuation(0);
  int hours = 0, minutes = 0;
  if (hours_written(text, &hours, &minutes)) return pt_read_time(c, hours, minutes, out);
  if (eu_is_digits(text) && text.size() <= 2 && punc.empty() && next == "h" && std::stoi(text) <= 24)
    return pt_read_time(c, std::stoi(text), 0, out);
  if (x_score(c, text, out)) return true;
  // "p. ex." (two tokens).
  if (text == "p" && punc == "." && next == "ex" && c->punctuation(1).compare(0, 1, ".") == 0) {
    eu_push_words("por exemplo", out);
    c->consume_next();
    c->consume_dot();
    return true;
  }
  // "D. João", "D. Maria": dom before a man's name, dona before a woman's.
  if (text == "D" && punc == "." && eu_starts_with_letter(next)) {
    const std::string name = eu_lower(c->lang, next);
    out->push_back(name.size() > 1 && name.back() == 'a' ? "dona" : "dom");
    c->consume_dot();
    return true;
  }
  // Centuries in Roman numerals, always cardinals: "século XXI".
  const std::string previous = eu_lower(c->lang, c->token_text(-1));
  if ((previous == "século" || previous == "séc") && text.size() <= 6) {
    int value = roman_value(text);
    if (value > 0) return c->spell("%spellout-numbering", std::to_string(value), out);
  }
  std::string digits;
  if (integer_of(text, &digits) && punc.empty()) {
    // "1 de maio": primeiro de maio in Brazil.
    if (v.first_as_ordinal && digits == "1" && next == "de" && is_month(v, eu_lower(c->lang, c->token_text(2)))) {
      out->push_back("primeiro");
      return true;
    }
    if (feminine_noun(eu_lower(c->lang, next)))
      return c->spell("%spellout-cardinal-feminine", digits, out);
  }
  // Telephone numbers "98765-4321" digit by digit.
  size_t dash = text.find('-');
  if (v.phone_groups && dash != std::string::npos && (dash == 4 || dash == 5) && text.size() == dash + 5 &&
      eu_is_digits(text.substr(0, dash)) && eu_is_digits(text.substr(dash + 1)) && !year_range(text, dash)) {
    for (char d : text)
      if (d != '-') c->spell("%spellout-numbering", std::string(1, d), out);
    return true;
  }
  return false;
}
