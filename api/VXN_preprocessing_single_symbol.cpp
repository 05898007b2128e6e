// Single-symbol step, blank trimming and Korean pause insertion; see
// VXN_preprocessing_single_symbol.h.
#include "api/VXN_preprocessing_single_symbol.h"

#include <iconv.h>
#include <string.h>

#include <string>
#include <vector>

#include "engine/VXN_misc.h"

namespace {

// Spoken names of the 42 symbols per language id, all in the same row order.
// Korean (0)
const VXN_SymbolName kTable_ko[VXN_SYMBOL_ROWS] = {
    {"!", "느낌표"},
    {"@", "골뱅이 기호"},
    {"#", "숫자 기호"},
    {"$", "달러 기호"},
    {"/", "슬래시"},
    {"^", "캐럿"},
    {"&", "앰퍼샌드"},
    {"*", "별표"},
    {"(", "왼쪽 소괄호"},
    {")", "오른쪽 소괄호"},
    {"[", "왼쪽 대괄호"},
    {"]", "오른쪽 대괄호"},
    {"'", "아포스트로피"},
    {"\"", "따옴표"},
    {":", "콜론"},
    {";", "세미콜론"},
    {",", "쉼표"},
    {"?", "물음표"},
    {"<", "왼쪽 꺽쇠 괄호"},
    {">", "오른쪽 꺽쇠 괄호"},
    {"{", "왼쪽 중괄호"},
    {"}", "오른쪽 중괄호"},
    {"-", "대시"},
    {"+", "덧셈 기호"},
    {"×", "곱셈 기호"},
    {"÷", "나눗셈 기호"},
    {"=", "등호"},
    {"\\", "백슬래시"},
    {"€", "유로 기호"},
    {"￡", "파운드 기호"},
    {"￥", "엔화 기호"},
    {"`", "억음 기호"},
    {"~", "물결표"},
    {"_", "밑줄"},
    {"|", "세로 막대"},
    {"¡", "역느낌표"},
    {"¿", "역물음표"},
    {"º", "온도 기호"},
    {"•", "가운뎃점"},
    {"¤", "통화 기호"},
    {"%", "퍼센트"},
    {".", "점"},
};

// English (1: US, 2 and 3: UK and Australian): the same names, but for the
// inverted question mark, which US English writes in lower case.
#define VXN_ENGLISH_SYMBOLS(inverted_question_mark) \
  {{"!", "Exclamation mark"}, \
   {"@", "At symbol"}, \
   {"#", "Number sign"}, \
   {"$", "Dollar sign"}, \
   {"/", "Slash"}, \
   {"^", "Caret"}, \
   {"&", "Ampersand"}, \
   {"*", "Asterisk"}, \
   {"(", "Left round bracket"}, \
   {")", "Right round bracket"}, \
   {"[", "Left square bracket"}, \
   {"]", "Right square bracket"}, \
   {"'", "Apostrophe"}, \
   {"\"", "Quote"}, \
   {":", "Colon"}, \
   {";", "Semi colon"}, \
   {",", "Comma"}, \
   {"?", "Question mark"}, \
   {"<", "Left angle bracket"}, \
   {">", "Right angle bracket"}, \
   {"{", "Left curly bracket"}, \
   {"}", "Right curly bracket"}, \
   {"-", "Dash"}, \
   {"+", "Plus"}, \
   {"×", "Multiplication sign"}, \
   {"÷", "Division sign"}, \
   {"=", "Equals"}, \
   {"\\", "Backslash"}, \
   {"€", "Euro"}, \
   {"￡", "Pound sterling"}, \
   {"￥", "Yen"}, \
   {"`", "Grave accent"}, \
   {"~", "Tilde"}, \
   {"_", "Underscore"}, \
   {"|", "Vertical bar"}, \
   {"¡", "Inverted exclamation mark"}, \
   {"¿", inverted_question_mark}, \
   {"º", "Degree"}, \
   {"•", "Dot"}, \
   {"¤", "Currency sign"}, \
   {"%", "Percent"}, \
   {".", "dot"}, \
  }
const VXN_SymbolName kTable_en_us[VXN_SYMBOL_ROWS] = VXN_ENGLISH_SYMBOLS("inverted question mark");
const VXN_SymbolName kTable_en_uk[VXN_SYMBOL_ROWS] = VXN_ENGLISH_SYMBOLS("Inverted question mark");
#undef VXN_ENGLISH_SYMBOLS

// German (4)
const VXN_SymbolName kTable_de[VXN_SYMBOL_ROWS] = {
    {"!", "Ausrufezeichen"},
    {"@", "At-Symbol"},
    {"#", "Raute"},
    {"$", "Dollarzeichen"},
    {"/", "Schrägstrich"},
    {"^", "Zirkumflex"},
    {"&", "Und-Zeichen"},
    {"*", "Sternchen"},
    {"(", "Linke runde Klammer"},
    {")", "Rechte runde Klammer"},
    {"[", "Linke eckige Klammer"},
    {"]", "Rechte eckige Klammer"},
    {"'", "Apostroph"},
    {"\"", "Anführungszeichen"},
    {":", "Doppelpunkt"},
    {";", "Semikolon"},
    {",", "Komma"},
    {"?", "Fragezeichen"},
    {"<", "Linke spitze Klammer"},
    {">", "Rechte spitze Klammer"},
    {"{", "Linke geschweifte Klammer"},
    {"}", "Rechte geschweifte Klammer"},
    {"-", "Gedankenstrich"},
    {"+", "Plus"},
    {"×", "Multiplikationszeichen"},
    {"÷", "Divisionszeichen"},
    {"=", "Gleichheitszeichen"},
    {"\\", "Umgekehrter Schrägstrich"},
    {"€", "Euro"},
    {"￡", "Pfund Sterling"},
    {"￥", "Yen"},
    {"`", "Accent grave"},
    {"~", "Tilde"},
    {"_", "Unterstrich"},
    {"|", "Senkrechter Strich"},
    {"¡", "Umgekehrtes Ausrufezeichen"},
    {"¿", "Umgekehrtes Fragezeichen"},
    {"º", "Abschluss"},
    {"•", "Punkt"},
    {"¤", "Währungszeichen"},
    {"%", "Prozent"},
    {".", "Punkt"},
};

// French (5)
const VXN_SymbolName kTable_fr[VXN_SYMBOL_ROWS] = {
    {"!", "Point d'exclamation"},
    {"@", "Arobase"},
    {"#", "Dièse"},
    {"$", "Symbole du dollar"},
    {"/", "Barre oblique"},
    {"^", "Accent circonflexe"},
    {"&", "Esperluette"},
    {"*", "Astérisque"},
    {"(", "Parenthèse ouvrante"},
    {")", "Parenthèse fermante"},
    {"[", "Crochet ouvrant"},
    {"]", "Crochet fermant"},
    {"'", "Apostrophe"},
    {"\"", "Guillemet"},
    {":", "Deux-points"},
    {";", "Point-virgule"},
    {",", "Virgule"},
    {"?", "Point d'interrogation"},
    {"<", "Chevron ouvrant"},
    {">", "Chevron fermant"},
    {"{", "Accolade ouvrante"},
    {"}", "Accolade fermante"},
    {"-", "Tiret"},
    {"+", "Plus"},
    {"×", "Signe de multiplication"},
    {"÷", "Signe de division"},
    {"=", "Égal"},
    {"\\", "Barre oblique inverse"},
    {"€", "Euro"},
    {"￡", "Livre sterling"},
    {"￥", "Yen"},
    {"`", "Accent grave"},
    {"~", "Tilde"},
    {"_", "Trait de soulignement"},
    {"|", "Barre verticale"},
    {"¡", "Point d'exclamation renversé"},
    {"¿", "Point d'interrogation renversé"},
    {"º", "Degré"},
    {"•", "Point"},
    {"¤", "Symbole monétaire"},
    {"%", "Pourcent"},
    {".", "point"},
};

// Spanish (6)
const VXN_SymbolName kTable_es[VXN_SYMBOL_ROWS] = {
    {"!", "Signo de exclamación de cierre"},
    {"@", "Símbolo de arroba"},
    {"#", "Signo de almohadilla"},
    {"$", "Símbolo de dólar"},
    {"/", "Barra diagonal"},
    {"^", "Símbolo de intercalación"},
    {"&", "Y comercial"},
    {"*", "Asterisco"},
    {"(", "Paréntesis de apertura"},
    {")", "Paréntesis de cierre"},
    {"[", "Corchete de apertura"},
    {"]", "Corchete de cierre"},
    {"'", "Apóstrofo"},
    {"\"", "Comilla"},
    {":", "Dos puntos"},
    {";", "Punto y coma"},
    {",", "Coma"},
    {"?", "Signo de interrogación de cierre"},
    {"<", "Corchete angular de apertura"},
    {">", "Corchete angular de cierre"},
    {"{", "Llave de apertura"},
    {"}", "Llave de cierre"},
    {"-", "Guion"},
    {"+", "Signo más"},
    {"×", "Signo de multiplicación"},
    {"÷", "Signo de división"},
    {"=", "Signo igual"},
    {"\\", "Barra diagonal inversa"},
    {"€", "Símbolo de euro"},
    {"￡", "Símbolo de libra esterlina"},
    {"￥", "Símbolo de yen"},
    {"`", "Acento grave"},
    {"~", "Virgulilla"},
    {"_", "Subrayado"},
    {"|", "Barra vertical"},
    {"¡", "Signo de exclamación de apertura"},
    {"¿", "Signo de interrogación de apertura"},
    {"º", "Grado"},
    {"•", "Punto"},
    {"¤", "Signo de moneda"},
    {"%", "Porcentaje"},
    {".", "punto"},
};

// Italian (7)
const VXN_SymbolName kTable_it[VXN_SYMBOL_ROWS] = {
    {"!", "Punto esclamativo"},
    {"@", "Chiocciola"},
    {"#", "Numero"},
    {"$", "Simbolo del dollaro"},
    {"/", "Barra"},
    {"^", "Accento circonflesso"},
    {"&", "E commerciale"},
    {"*", "Asterisco"},
    {"(", "Parentesi tonda aperta"},
    {")", "Parentesi tonda chiusa"},
    {"[", "Parentesi quadra aperta"},
    {"]", "Parentesi quadra chiusa"},
    {"'", "Apostrofo"},
    {"\"", "Virgolette"},
    {":", "Due punti"},
    {";", "Punto e virgola"},
    {",", "Virgola"},
    {"?", "Punto interrogativo"},
    {"<", "Parentesi angolare aperta"},
    {">", "Parentesi angolare chiusa"},
    {"{", "Parentesi graffa aperta"},
    {"}", "Parentesi graffa chiusa"},
    {"-", "Trattino"},
    {"+", "Segno più"},
    {"×", "Segno di moltiplicazione"},
    {"÷", "Segno di divisione"},
    {"=", "Uguale"},
    {"\\", "Barra rovesciata"},
    {"€", "Euro"},
    {"￡", "Sterlina britannica"},
    {"￥", "Yen"},
    {"`", "Accento grave"},
    {"~", "Tilde"},
    {"_", "Trattino basso"},
    {"|", "Barra verticale"},
    {"¡", "Punto esclamativo invertito"},
    {"¿", "Punto interrogativo invertito"},
    {"º", "Gradi"},
    {"•", "Punto"},
    {"¤", "Simbolo valuta"},
    {"%", "Per cento"},
    {".", "punto"},
};

// Dutch (8)
const VXN_SymbolName kTable_nl[VXN_SYMBOL_ROWS] = {
    {"!", "Uitroepteken"},
    {"@", "Bij symbool"},
    {"#", "Cijferteken"},
    {"$", "Dollarteken"},
    {"/", "Slash"},
    {"^", "Caret"},
    {"&", "Ampersand"},
    {"*", "Asterisk"},
    {"(", "Ronde haak links"},
    {")", "Ronde haak rechts"},
    {"[", "Vierkante haak links"},
    {"]", "Vierkante haak rechts"},
    {"'", "Apostropf"},
    {"\"", "Aanhalingsteken"},
    {":", "Dubbele punt"},
    {";", "Puntkomma"},
    {",", "Komma"},
    {"?", "Vraagteken"},
    {"<", "Punthaak links"},
    {">", "Punthaak rechts"},
    {"{", "Krulhaak links"},
    {"}", "Krulhaak rechts"},
    {"-", "Streepje"},
    {"+", "Plus"},
    {"×", "Vermenigvuldigingsteken"},
    {"÷", "Deelteken"},
    {"=", "Gelijk aan"},
    {"\\", "Backslash"},
    {"€", "Euro"},
    {"￡", "Pond"},
    {"￥", "Yen"},
    {"`", "Accent grave"},
    {"~", "Tilde"},
    {"_", "Underscore"},
    {"|", "Verticale balk"},
    {"¡", "Omgekeerd uitroepteken"},
    {"¿", "Omgekeerd vraagteken"},
    {"º", "Diploma"},
    {"•", "Punt"},
    {"¤", "Valuatteken"},
    {"%", "Procent"},
    {".", "punt"},
};

// Chinese (9)
const VXN_SymbolName kTable_zh[VXN_SYMBOL_ROWS] = {
    {"!", "感叹号"},
    {"@", "艾特符号"},
    {"#", "数字符号"},
    {"$", "美元符号"},
    {"/", "斜杠"},
    {"^", "插入标记"},
    {"&", "与号"},
    {"*", "星号"},
    {"(", "左圆括号"},
    {")", "右圆括号"},
    {"[", "左方括号"},
    {"]", "右方括号"},
    {"'", "撇号"},
    {"\"", "引号"},
    {":", "冒号"},
    {";", "分号"},
    {",", "逗号"},
    {"?", "问号"},
    {"<", "左尖括号"},
    {">", "右尖括号"},
    {"{", "左大括号"},
    {"}", "右大括号"},
    {"-", "破折号"},
    {"+", "加号"},
    {"×", "乘号"},
    {"÷", "除号"},
    {"=", "等号"},
    {"\\", "反斜杠"},
    {"€", "欧元"},
    {"￡", "英镑"},
    {"￥", "日元"},
    {"`", "重音符号"},
    {"~", "波浪号"},
    {"_", "下划线"},
    {"|", "竖线"},
    {"¡", "倒感叹号"},
    {"¿", "倒问号"},
    {"º", "度"},
    {"•", "点"},
    {"¤", "货币符号"},
    {"%", "百分之"},
    {".", "点"},
};

// Brazilian Portuguese (10)
const VXN_SymbolName kTable_pt_br[VXN_SYMBOL_ROWS] = {
    {"!", "Ponto de exclamação"},
    {"@", "Sinal de arroba"},
    {"#", "Símbolo numérico"},
    {"$", "Símbolo de dólar"},
    {"/", "Barra"},
    {"^", "Acento circunflexo"},
    {"&", "E comercial"},
    {"*", "Asterisco"},
    {"(", "Parêntese de abertura"},
    {")", "Parêntese de fechamento"},
    {"[", "Colchete de abertura"},
    {"]", "Colchete de fechamento"},
    {"'", "Apóstrofo"},
    {"\"", "Aspas simples"},
    {":", "Dois pontos"},
    {";", "Ponto e vírgula"},
    {",", "Vírgula"},
    {"?", "Ponto de interrogação"},
    {"<", "Sinal menor que"},
    {">", "Sinal maior que"},
    {"{", "Chave de abertura"},
    {"}", "Chave de fechamento"},
    {"-", "Traço"},
    {"+", "Sinal de adição"},
    {"×", "Sinal de multiplicação"},
    {"÷", "Sinal de divisão"},
    {"=", "Sinal de igualdade"},
    {"\\", "Barra invertida"},
    {"€", "Euro"},
    {"￡", "Libra esterlina"},
    {"￥", "Iene"},
    {"`", "Acento grave"},
    {"~", "Til"},
    {"_", "Sublinhado"},
    {"|", "Barra vertical"},
    {"¡", "Ponto de exclamação invertido"},
    {"¿", "Ponto de interrogação invertido"},
    {"º", "Grau"},
    {"•", "Ponto"},
    {"¤", "Símbolo de moeda"},
    {"%", "Percentual"},
    {".", "ponto"},
};

// Polish (11)
const VXN_SymbolName kTable_pl[VXN_SYMBOL_ROWS] = {
    {"!", "Wykrzyknik"},
    {"@", "Małpka"},
    {"#", "Znak numeru"},
    {"$", "Znak dolara"},
    {"/", "Ukośnik"},
    {"^", "Daszek"},
    {"&", "Handlowe i"},
    {"*", "Gwiazdka"},
    {"(", "Lewy nawias okrągły"},
    {")", "Prawy nawias okrągły"},
    {"[", "Lewy nawias kwadratowy"},
    {"]", "Prawy nawias kwadratowy"},
    {"'", "Apostrof"},
    {"\"", "Cudzysłów"},
    {":", "Dwukropek"},
    {";", "Średnik"},
    {",", "Przecinek"},
    {"?", "Znak zapytania"},
    {"<", "Lewy nawias ostry"},
    {">", "Prawy nawias ostry"},
    {"{", "Lewa klamra"},
    {"}", "Prawa klamra"},
    {"-", "Myślnik"},
    {"+", "Plus"},
    {"×", "Znak mnożenia"},
    {"÷", "Znak dzielenia"},
    {"=", "Równa się"},
    {"\\", "Ukośnik lewy"},
    {"€", "Euro"},
    {"￡", "Funt brytyjski"},
    {"￥", "Jen"},
    {"`", "Grawis"},
    {"~", "Tylda"},
    {"_", "Podkreślnik"},
    {"|", "Kreska pionowa"},
    {"¡", "Odwrócony wykrzyknik"},
    {"¿", "Odwrócony znak zapytania"},
    {"º", "Stopień"},
    {"•", "Kropka"},
    {"¤", "Znak waluty"},
    {"%", "Procent"},
    {".", "kropka"},
};

// Russian (12)
const VXN_SymbolName kTable_ru[VXN_SYMBOL_ROWS] = {
    {"!", "Восклицательный знак"},
    {"@", "Символ \"собака\""},
    {"#", "Знак номера"},
    {"$", "Знак доллара"},
    {"/", "Косая черта"},
    {"^", "Знак вставки"},
    {"&", "Амперсанд"},
    {"*", "Звездочка"},
    {"(", "Левая круглая скобка"},
    {")", "Правая круглая скобка"},
    {"[", "Левая квадратная скобка"},
    {"]", "Правая квадратная скобка"},
    {"'", "Апостроф"},
    {"\"", "Одинарная прямая кавычка"},
    {":", "Двоеточие"},
    {";", "Точка с запятой"},
    {",", "Запятая"},
    {"?", "Вопросительный знак"},
    {"<", "Левая угловая скобка"},
    {">", "Правая угловая скобка"},
    {"{", "Левая фигурная скобка"},
    {"}", "Правая фигурная скобка"},
    {"-", "Дефис"},
    {"+", "Плюс"},
    {"×", "Знак умножения"},
    {"÷", "Знак деления"},
    {"=", "Равняется"},
    {"\\", "Обратная косая черта"},
    {"€", "Евро"},
    {"￡", "Фунт стерлингов"},
    {"￥", "Иена"},
    {"`", "Гравис"},
    {"~", "Тильда"},
    {"_", "Подчеркивание"},
    {"|", "Вертикальная черта"},
    {"¡", "Перевернутый восклицательный знак"},
    {"¿", "Перевернутый вопросительный знак"},
    {"º", "Степень"},
    {"•", "Точка"},
    {"¤", "Знак денежной единицы"},
    {"%", "Процентов"},
    {".", "точка"},
};

// Danish (13)
const VXN_SymbolName kTable_da[VXN_SYMBOL_ROWS] = {
    {"!", "Udråbstegn"},
    {"@", "Symbolet snabel-a"},
    {"#", "Taltegn"},
    {"$", "Dollartegn"},
    {"/", "Skråstreg"},
    {"^", "Cirkumfleks"},
    {"&", "Og"},
    {"*", "Stjerne"},
    {"(", "Venstre parentes"},
    {")", "Højre parentes"},
    {"[", "Venstre kantet parentes"},
    {"]", "Højre kantet parentes"},
    {"'", "Apostrof"},
    {"\"", "Anførselstegn"},
    {":", "Kolon"},
    {";", "Semikolon"},
    {",", "Komma"},
    {"?", "Spørgsmålstegn"},
    {"<", "Venstre vinkelparentes"},
    {">", "Højre vinkelparentes"},
    {"{", "Venstre krøllet parentes"},
    {"}", "Højre krøllet parentes"},
    {"-", "Tankestreg"},
    {"+", "Plus"},
    {"×", "Multiplikationstegn"},
    {"÷", "Divisionstegn"},
    {"=", "Er lig med"},
    {"\\", "Omvendt skråstreg"},
    {"€", "Euro"},
    {"￡", "Britisk pund"},
    {"￥", "Japanske yen"},
    {"`", "Accent grave"},
    {"~", "Tilde"},
    {"_", "Understregningstegn"},
    {"|", "Lodret streg"},
    {"¡", "Omvendt udråbstegn"},
    {"¿", "Omvendt spørgsmålstegn"},
    {"º", "Grad"},
    {"•", "Prik"},
    {"¤", "Valutategn"},
    {"%", "Procent"},
    {".", "prik"},
};

// Swedish (14)
const VXN_SymbolName kTable_sv[VXN_SYMBOL_ROWS] = {
    {"!", "Utropstecken"},
    {"@", "Snabel-a"},
    {"#", "Nummertecken"},
    {"$", "Dollartecken"},
    {"/", "Snedstreck"},
    {"^", "Cirkumflex"},
    {"&", "Och-tecken"},
    {"*", "Asterisk"},
    {"(", "Vänster rundparentes"},
    {")", "Höger rundparentes"},
    {"[", "Vänster hakparentes"},
    {"]", "Höger hakparentes"},
    {"'", "Apostrof"},
    {"\"", "Citat"},
    {":", "Kolon"},
    {";", "Semikolon"},
    {",", "Kommatecken"},
    {"?", "Frågetecken"},
    {"<", "Vänster vinkelparentes"},
    {">", "Höger vinkelparentes"},
    {"{", "Vänster klammerparentes"},
    {"}", "Höger klammerparentes"},
    {"-", "Tankestreck"},
    {"+", "Plustecken"},
    {"×", "Multiplikationstecken"},
    {"÷", "Divisionstecken"},
    {"=", "Likamed"},
    {"\\", "Omvänt snedstreck"},
    {"€", "Euro"},
    {"￡", "Brittiskt pund"},
    {"￥", "Yen"},
    {"`", "Grav accent"},
    {"~", "Tilde"},
    {"_", "Understreck"},
    {"|", "Vertikalstreck"},
    {"¡", "Inverterat utropstecken"},
    {"¿", "Inverterat frågetecken"},
    {"º", "Grad"},
    {"•", "Punkt"},
    {"¤", "Valutatecken"},
    {"%", "Procent"},
    {".", "punkt"},
};

// Finnish (15)
const VXN_SymbolName kTable_fi[VXN_SYMBOL_ROWS] = {
    {"!", "Huutomerkki"},
    {"@", "Ät-merkki"},
    {"#", "Numeromerkki"},
    {"$", "Dollarin merkki"},
    {"/", "Vinoviiva"},
    {"^", "Sirkumfleksi"},
    {"&", "Et-merkki"},
    {"*", "Asteriski"},
    {"(", "Vasen kaarisulje"},
    {")", "Oikea kaarisulje"},
    {"[", "Vasen hakasulje"},
    {"]", "Oikea hakasulje"},
    {"'", "Heittomerkki"},
    {"\"", "Lainausmerkki"},
    {":", "Kaksoispiste"},
    {";", "Puolipiste"},
    {",", "Pilkku"},
    {"?", "Kysymysmerkki"},
    {"<", "Vasen kulmasulje"},
    {">", "Oikea kulmasulje"},
    {"{", "Vasen aaltosulje"},
    {"}", "Oikea aaltosulje"},
    {"-", "Ajatusviiva"},
    {"+", "Plus"},
    {"×", "Kertomerkki"},
    {"÷", "Jakomerkki"},
    {"=", "On yhtä suuri kuin"},
    {"\\", "Kenoviiva"},
    {"€", "Euro"},
    {"￡", "Punta"},
    {"￥", "Jeni"},
    {"`", "Gravis"},
    {"~", "Tilde"},
    {"_", "Alaviiva"},
    {"|", "Pystypalkki"},
    {"¡", "Ylösalainen huutomerkki"},
    {"¿", "Ylösalainen kysymysmerkki"},
    {"º", "Tutkinto"},
    {"•", "Piste"},
    {"¤", "Valuuttamerkki"},
    {"%", "Prosenttia"},
    {".", "piste"},
};

// Norwegian (16)
const VXN_SymbolName kTable_no[VXN_SYMBOL_ROWS] = {
    {"!", "Utropstegn"},
    {"@", "Alfakrøll"},
    {"#", "Nummertegn"},
    {"$", "Dollartegn"},
    {"/", "Skråstrek"},
    {"^", "Cirkumflekstegn"},
    {"&", "Ampersand"},
    {"*", "Stjerne"},
    {"(", "Venstreparentes"},
    {")", "Høyreparentes"},
    {"[", "Venstre hakeparentes"},
    {"]", "Høyre hakeparentes"},
    {"'", "Apostrof"},
    {"\"", "Anførselstegn"},
    {":", "Kolon"},
    {";", "Semikolon"},
    {",", "Komma"},
    {"?", "Spørsmålstegn"},
    {"<", "Venstre vinkelparentes"},
    {">", "Høyre vinkelparentes"},
    {"{", "Venstre klammeparentes"},
    {"}", "Høyre klammeparentes"},
    {"-", "Strek"},
    {"+", "Pluss"},
    {"×", "Multiplikasjonstegn"},
    {"÷", "Divisjonstegn"},
    {"=", "Er lik"},
    {"\\", "Omvendt skråstrek"},
    {"€", "Euro"},
    {"￡", "Britiske pund"},
    {"￥", "Yen"},
    {"`", "Grav aksent"},
    {"~", "Tilde"},
    {"_", "Understreking"},
    {"|", "Loddrett strek"},
    {"¡", "Omvendt utropstegn"},
    {"¿", "omvendt spørsmålstegn"},
    {"º", "Grad"},
    {"•", "Punktum"},
    {"¤", "Valutategn"},
    {"%", "Prosent"},
    {".", "punktum"},
};

// European Portuguese (17)
const VXN_SymbolName kTable_pt_pt[VXN_SYMBOL_ROWS] = {
    {"!", "Ponto de exclamação"},
    {"@", "Arroba"},
    {"#", "Símbolo de número"},
    {"$", "Símbolo de dólar"},
    {"/", "Barra"},
    {"^", "Acento circunflexo"},
    {"&", "E comercial"},
    {"*", "Asterisco"},
    {"(", "Parêntesis curvo de abertura"},
    {")", "Parêntesis curvo de fecho"},
    {"[", "Parêntesis recto de abertura"},
    {"]", "Parêntesis recto de fecho"},
    {"'", "Apóstrofe"},
    {"\"", "Aspas"},
    {":", "Dois pontos"},
    {";", "Ponto e vírgula"},
    {",", "Vírgula"},
    {"?", "Ponto de interrogação"},
    {"<", "Parêntesis angular de abertura"},
    {">", "Parêntesis angular de fecho"},
    {"{", "Chaveta de abertura"},
    {"}", "Chaveta de fecho"},
    {"-", "Travessão"},
    {"+", "Mais"},
    {"×", "Sinal de multiplicação"},
    {"÷", "Sinal de divisão"},
    {"=", "Igual"},
    {"\\", "Barra invertida"},
    {"€", "Euro"},
    {"￡", "Libra esterlina"},
    {"￥", "Iene"},
    {"`", "Acento grave"},
    {"~", "Til"},
    {"_", "Carácter de sublinhado"},
    {"|", "Barra vertical"},
    {"¡", "Ponto de exclamação invertido"},
    {"¿", "Ponto de interrogação invertido"},
    {"º", "Grau"},
    {"•", "Ponto"},
    {"¤", "Símbolo monetário"},
    {"%", "Por cento"},
    {".", "ponto"},
};

const VXN_SymbolName* const kTables[VXN_SYMBOL_LANGUAGES] = {
    kTable_ko, kTable_en_us, kTable_en_uk, kTable_en_uk, kTable_de, kTable_fr, kTable_es, kTable_it, kTable_nl, kTable_zh, kTable_pt_br, kTable_pl, kTable_ru, kTable_da, kTable_sv, kTable_fi, kTable_no, kTable_pt_pt,
};

inline bool is_space(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

// Words after or before which the Korean analyzer should pause, grouped by
// rule. Stored as UTF-8 here and converted to EUC-KR once, on first use.
struct SplitRule {
  bool before;        // comma goes before the word instead of after it
  const char* trace;  // level-1 trace printed when the rule fires
  std::vector<const char*> words;
};

const SplitRule kSplitRules[] = {
    {false, "text split 1 \n\n", {"등"}},
    {false, "@@ text split 2 @@\n\n", {"있고", "경우", "위해", "없고", "같고"}},
    {false, " text split 3 \n\n",
     {"있는데", "때문에", "하는데", "있으며", "있어서", "아니라", "하셨고"}},
    {false, "text split 4 \n\n", {"경우에는", "그러는데"}},
    {true, " text split before 2 \n\n",
     {"또는", "지금", "어떤", "다시", "모두", "바로", "여러", "최근", "어느", "이런", "지난",
      "가장", "각각", "다른"}},
    {true, "text split before 3 \n\n", {"이렇게", "어떻게"}},
};
const int kSplitRuleCount = sizeof kSplitRules / sizeof kSplitRules[0];

std::string to_euckr(iconv_t cd, const char* utf8) {
  char buf[64];
  char* in = const_cast<char*>(utf8);
  size_t in_left = strlen(utf8);
  char* out = buf;
  size_t room = sizeof buf;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &in, &in_left, &out, &room) == (size_t)-1 || in_left != 0) return std::string();
  return std::string(buf, out - buf);
}

// The rule words as EUC-KR byte strings, per rule. A word iconv cannot
// convert is left empty and never matches.
const std::vector<std::vector<std::string>>& euckr_split_words() {
  static const std::vector<std::vector<std::string>> words = [] {
    std::vector<std::vector<std::string>> all(kSplitRuleCount);
    iconv_t cd = iconv_open("EUC-KR", "UTF-8");
    if (cd == (iconv_t)-1) {
      VXN_print(VXN_LEVEL_ERROR, "TextSplit: no EUC-KR converter, no pauses inserted\n");
      return all;
    }
    for (int r = 0; r < kSplitRuleCount; ++r)
      for (const char* w : kSplitRules[r].words) all[r].push_back(to_euckr(cd, w));
    iconv_close(cd);
    return all;
  }();
  return words;
}

// True when in[p] is a blank, word follows, and a blank follows the word.
inline bool word_between_blanks(const char* in, size_t n, size_t p, const std::string& word) {
  if (word.empty() || in[p] != ' ' || p + 1 + word.size() >= n) return false;
  return memcmp(in + p + 1, word.data(), word.size()) == 0 && in[p + 1 + word.size()] == ' ';
}

}  // namespace

const VXN_SymbolName* VXN_symbol_table(int languageId) {
  if (languageId < 0 || languageId >= VXN_SYMBOL_LANGUAGES) return nullptr;
  return kTables[languageId];
}

char* removeSpace(char* text) {
  if (!text || !*text) return text;
  for (size_t i = strlen(text) - 1; i > 0 && is_space(text[i]); --i) text[i] = '\0';
  while (is_space(*text)) ++text;
  return text;
}

bool handleSpecificLanguage(const VXN_SymbolName* table, char* text, char** out) {
  if (!table || !text || !out) return false;
  const char* t = removeSpace(text);
  if (!*t) return false;
  const size_t n = strlen(t);
  for (int row = 0; row < VXN_SYMBOL_ROWS; ++row) {
    if (strlen(table[row].symbol) != n || memcmp(table[row].symbol, t, n) != 0) continue;
    const size_t name_length = strlen(table[row].name);
    char* name = (char*)VXN_calloc(2 * name_length, 1);
    if (!name) return false;
    memcpy(name, table[row].name, name_length);
    *out = name;
    return true;
  }
  return false;
}

bool VXN_single_symbol(char* text, int languageId, char** out) {
  const VXN_SymbolName* table = VXN_symbol_table(languageId);
  if (!text || !table) return false;
  return handleSpecificLanguage(table, text, out);
}

void TextSplit(const char* in, char* out) {
  if (!out) return;
  if (!in) {
    *out = '\0';
    return;
  }
  const std::vector<std::vector<std::string>>& words = euckr_split_words();
  const size_t n = strlen(in);
  size_t o = 0;
  for (size_t p = 0; p < n;) {
    bool fired = false;
    for (int r = 0; r < kSplitRuleCount && !fired; ++r) {
      for (const std::string& w : words[r]) {
        if (!word_between_blanks(in, n, p, w)) continue;
        VXN_print(VXN_LEVEL_INFO, "%s", kSplitRules[r].trace);
        if (kSplitRules[r].before) {
          // ", " replaces the blank; the word is copied by the next steps.
          out[o++] = ',';
          out[o++] = ' ';
          p += 1;
        } else {
          // " W, " replaces " W ".
          memcpy(out + o, in + p, 1 + w.size());
          o += 1 + w.size();
          out[o++] = ',';
          out[o++] = ' ';
          p += 2 + w.size();
        }
        fired = true;
        break;
      }
    }
    if (!fired) out[o++] = in[p++];
  }
  out[o] = '\0';
}
