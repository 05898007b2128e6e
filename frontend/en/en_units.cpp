#include "frontend/en/en_units.h"

#include "frontend/en/en_expand.h"

// Columns: key, number of forms, {singular, plural}, refused as a token of its
// own, consumes an abbreviation dot, row agreement, required next token, tags.
// Byte escapes: \xB2 superscript two, \xB3 superscript three, \xB0 degree,
// \xA2 cent, \xA4 euro (ISO-8859-15), \xA3 pound, \xA5 yen.
const norm_unit en_units[] = {
    {"mm", 2, {"millimetre", "millimetres"}, 0, 0, nullptr, nullptr, nullptr},  // 0
    {"cm", 2, {"centimetre", "centimetres"}, 0, 0, nullptr, nullptr, nullptr},  // 1
    {"m", 2, {"metre", "metres"}, 1, 0, nullptr, nullptr, nullptr},  // 2
    {"km", 2, {"kilometre", "kilometres"}, 0, 0, nullptr, nullptr, nullptr},  // 3
    {"mi", 2, {"mile", "miles"}, 0, 1, nullptr, nullptr, nullptr},  // 4
    {"ft", 2, {"foot", "feet"}, 0, 1, nullptr, nullptr, nullptr},  // 5
    {"in", 2, {"inch", "inches"}, 1, 1, nullptr, nullptr, nullptr},  // 6
    {"mm\xB2", 2, {"square millimetre", "square millimetres"}, 0, 0, nullptr, nullptr, nullptr},  // 7
    {"cm\xB2", 2, {"square centimetre", "square centimetres"}, 0, 0, nullptr, nullptr, nullptr},  // 8
    {"m\xB2", 2, {"square metre", "square metres"}, 1, 0, nullptr, nullptr, nullptr},  // 9
    {"km\xB2", 2, {"square kilometre", "square kilometres"}, 0, 0, nullptr, nullptr, nullptr},  // 10
    {"mi\xB2", 2, {"square mile", "square miles"}, 0, 1, nullptr, nullptr, nullptr},  // 11
    {"ft\xB2", 2, {"square foot", "square feet"}, 0, 1, nullptr, nullptr, nullptr},  // 12
    {"in\xB2", 2, {"square inch", "square inches"}, 1, 1, nullptr, nullptr, nullptr},  // 13
    {"mm\xB3", 2, {"cubic millimetre", "cubic millimetres"}, 0, 0, nullptr, nullptr, nullptr},  // 14
    {"cm\xB3", 2, {"cubic centimetre", "cubic centimetres"}, 0, 0, nullptr, nullptr, nullptr},  // 15
    {"m\xB3", 2, {"cubic metre", "cubic metres"}, 1, 0, nullptr, nullptr, nullptr},  // 16
    {"km\xB3", 2, {"cubic kilometre", "cubic kilometres"}, 0, 0, nullptr, nullptr, nullptr},  // 17
    {"mi\xB3", 2, {"cubic mile", "cubic miles"}, 0, 1, nullptr, nullptr, nullptr},  // 18
    {"ft\xB3", 2, {"cubic foot", "cubic feet"}, 0, 1, nullptr, nullptr, nullptr},  // 19
    {"in\xB3", 2, {"cubic inch", "cubic inches"}, 1, 1, nullptr, nullptr, nullptr},  // 20
    {"s\xB2", 2, {"second", "seconds"}, 1, 0, nullptr, nullptr, nullptr},  // 21
    {"s\xB3", 2, {"second", "seconds"}, 1, 0, nullptr, nullptr, nullptr},  // 22
    {"ms", 2, {"millisecond", "milliseconds"}, 0, 0, nullptr, nullptr, nullptr},  // 23
    {"s", 2, {"second", "seconds"}, 1, 0, nullptr, nullptr, nullptr},  // 24
    {"min", 2, {"minute", "minutes"}, 1, 0, nullptr, nullptr, nullptr},  // 25
    {"h", 2, {"hour", "hours"}, 1, 0, nullptr, nullptr, nullptr},  // 26
    {"hr", 1, {"hour", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 27
    {"hrs", 1, {"hours", nullptr}, 0, 1, nullptr, nullptr, nullptr},  // 28
    {"yr", 1, {"year", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 29
    {"yrs", 1, {"years", nullptr}, 0, 1, nullptr, nullptr, nullptr},  // 30
    {"mg", 2, {"milligram", "milligrams"}, 0, 0, nullptr, nullptr, nullptr},  // 31
    {"g", 2, {"gram", "grams"}, 1, 0, nullptr, nullptr, nullptr},  // 32
    {"kg", 2, {"kilogram", "kilograms"}, 0, 0, nullptr, nullptr, nullptr},  // 33
    {"t", 2, {"tonne", "tonnes"}, 1, 0, nullptr, nullptr, nullptr},  // 34
    {"oz", 2, {"ounce", "ounces"}, 0, 1, nullptr, nullptr, nullptr},  // 35
    {"lb", 2, {"pound", "pounds"}, 0, 1, nullptr, nullptr, nullptr},  // 36
    {"lbs", 1, {"pounds", nullptr}, 0, 1, nullptr, nullptr, nullptr},  // 37
    {"st", 2, {"stone", "stone"}, 0, 1, nullptr, nullptr, nullptr},  // 38
    {"kn", 2, {"knot", "knots"}, 0, 1, nullptr, nullptr, nullptr},  // 39
    {"mph", 2, {"mile per hour", "miles per hour"}, 0, 0, nullptr, nullptr, nullptr},  // 40
    {"kph", 2, {"kilometre per hour", "kilometres per hour"}, 0, 0, nullptr, nullptr, nullptr},  // 41
    {"ha", 2, {"hectare", "hectares"}, 1, 0, nullptr, nullptr, nullptr},  // 42
    {"ac", 2, {"acre", "acres"}, 0, 1, nullptr, nullptr, nullptr},  // 43
    {"sq", 2, {"square foot", "square feet"}, 0, 1, nullptr, "ft", nullptr},  // 44
    {"sq", 2, {"square inch", "square inches"}, 0, 1, nullptr, "in", nullptr},  // 45
    {"m\xB2", 2, {"square metre", "square metres"}, 0, 0, nullptr, nullptr, nullptr},  // 46
    {"ml", 2, {"millilitre", "millilitres"}, 0, 0, nullptr, nullptr, nullptr},  // 47
    {"l", 2, {"litre", "litres"}, 1, 0, nullptr, nullptr, nullptr},  // 48
    {"fl", 2, {"fluid ounce", "fluid ounces"}, 0, 1, nullptr, "oz", nullptr},  // 49
    {"pt", 2, {"pint", "pints"}, 1, 1, nullptr, nullptr, nullptr},  // 50
    {"qt", 2, {"quart", "quarts"}, 0, 1, nullptr, nullptr, nullptr},  // 51
    {"gal", 2, {"gallon", "gallons"}, 0, 1, nullptr, nullptr, nullptr},  // 52
    {"tsp", 2, {"teaspoon", "teaspoons"}, 0, 1, nullptr, nullptr, nullptr},  // 53
    {"tsps", 1, {"teaspoons", nullptr}, 0, 1, nullptr, nullptr, nullptr},  // 54
    {"\xB0" "C", 2, {"degree celsius", "degrees celsius"}, 0, 0, nullptr, nullptr, nullptr},  // 55
    {"\xB0" "F", 2, {"degree fahrenheit", "degrees fahrenheit"}, 0, 0, nullptr, nullptr, nullptr},  // 56
    {"\xB0", 2, {"degree", "degrees"}, 0, 0, nullptr, nullptr, nullptr},  // 57
    {"rad", 2, {"radian", "radians"}, 0, 0, nullptr, nullptr, nullptr},  // 58
    {"cal", 2, {"calorie", "calories"}, 0, 0, nullptr, nullptr, nullptr},  // 59
    {"kcal", 2, {"kilocalorie", "kilocalories"}, 0, 0, nullptr, nullptr, nullptr},  // 60
    {"J", 2, {"joule", "joules"}, 1, 0, nullptr, nullptr, nullptr},  // 61
    {"kJ", 2, {"kilojoule", "kilojoules"}, 0, 0, nullptr, nullptr, nullptr},  // 62
    {"N", 2, {"newton", "newtons"}, 1, 0, nullptr, nullptr, nullptr},  // 63
    {"Nm", 2, {"newton metre", "newton metres"}, 0, 0, nullptr, nullptr, nullptr},  // 64
    {"W", 2, {"watt", "watts"}, 1, 0, nullptr, nullptr, nullptr},  // 65
    {"kW", 2, {"kilowatt", "kilowatts"}, 0, 0, nullptr, nullptr, nullptr},  // 66
    {"MW", 2, {"megawatt", "megawatts"}, 0, 0, nullptr, nullptr, nullptr},  // 67
    {"GW", 2, {"gigawatt", "gigawatts"}, 0, 0, nullptr, nullptr, nullptr},  // 68
    {"V", 2, {"volt", "volts"}, 1, 0, nullptr, nullptr, nullptr},  // 69
    {"kV", 2, {"kilovolt", "kilovolts"}, 0, 0, nullptr, nullptr, nullptr},  // 70
    {"A", 2, {"ampere", "amperes"}, 1, 0, nullptr, nullptr, nullptr},  // 71
    {"Pa", 2, {"pascal", "pascals"}, 0, 0, nullptr, nullptr, nullptr},  // 72
    {"hPa", 2, {"hectopascal", "hectopascals"}, 0, 0, nullptr, nullptr, nullptr},  // 73
    {"psi", 2, {"pound per square inch", "pounds per square inch"}, 0, 0, nullptr, nullptr, nullptr},  // 74
    {"b", 2, {"bit", "bits"}, 1, 0, nullptr, nullptr, nullptr},  // 75
    {"kb", 2, {"kilobit", "kilobits"}, 0, 0, nullptr, nullptr, nullptr},  // 76
    {"Mb", 2, {"megabit", "megabits"}, 0, 0, nullptr, nullptr, nullptr},  // 77
    {"Gb", 2, {"gigabit", "gigabits"}, 0, 0, nullptr, nullptr, nullptr},  // 78
    {"Tb", 2, {"terabit", "terabits"}, 0, 0, nullptr, nullptr, nullptr},  // 79
    {"B", 2, {"byte", "bytes"}, 1, 0, nullptr, nullptr, nullptr},  // 80
    {"kB", 2, {"kilobyte", "kilobytes"}, 0, 0, nullptr, nullptr, nullptr},  // 81
    {"KB", 2, {"kilobyte", "kilobytes"}, 0, 0, nullptr, nullptr, nullptr},  // 82
    {"MB", 2, {"megabyte", "megabytes"}, 0, 0, nullptr, nullptr, nullptr},  // 83
    {"GB", 2, {"gigabyte", "gigabytes"}, 0, 0, nullptr, nullptr, nullptr},  // 84
    {"TB", 2, {"terabyte", "terabytes"}, 0, 0, nullptr, nullptr, nullptr},  // 85
    {"bps", 2, {"bit per second", "bits per second"}, 0, 0, nullptr, nullptr, nullptr},  // 86
    {"kbps", 2, {"kilobit per second", "kilobits per second"}, 0, 0, nullptr, nullptr, nullptr},  // 87
    {"Mbps", 2, {"megabit per second", "megabits per second"}, 0, 0, nullptr, nullptr, nullptr},  // 88
    {"Gbps", 2, {"gigabit per second", "gigabits per second"}, 0, 0, nullptr, nullptr, nullptr},  // 89
    {"Tbps", 2, {"terabit per second", "terabits per second"}, 0, 0, nullptr, nullptr, nullptr},  // 90
    {"Hz", 1, {"hertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 91
    {"HZ", 1, {"hertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 92
    {"kHz", 1, {"kilohertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 93
    {"KHz", 1, {"kilohertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 94
    {"KHZ", 1, {"kilohertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 95
    {"MHz", 1, {"megahertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 96
    {"MHZ", 1, {"megahertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 97
    {"GHz", 1, {"gigahertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 98
    {"GHZ", 1, {"gigahertz", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 99
    {"dB", 2, {"decibel", "decibels"}, 0, 0, nullptr, nullptr, nullptr},  // 100
    {"\xA2", 2, {"cent", "cents"}, 0, 0, nullptr, nullptr, nullptr},  // 101
    {"$", 2, {"dollar", "dollars"}, 0, 0, nullptr, nullptr, nullptr},  // 102
    {"USD", 2, {"dollar", "dollars"}, 0, 0, nullptr, nullptr, nullptr},  // 103
    {"\xA4", 2, {"euro", "euros"}, 0, 0, nullptr, nullptr, nullptr},  // 104
    {"EUR", 2, {"euro", "euros"}, 0, 0, nullptr, nullptr, nullptr},  // 105
    {"Eur", 2, {"euro", "euros"}, 0, 0, nullptr, nullptr, nullptr},  // 106
    {"\xA3", 2, {"pound", "pounds"}, 0, 0, nullptr, nullptr, nullptr},  // 107
    {"GBP", 2, {"pound", "pounds"}, 0, 0, nullptr, nullptr, nullptr},  // 108
    {"\xA5", 1, {"yen", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 109
    {"JPY", 1, {"yen", nullptr}, 0, 0, nullptr, nullptr, nullptr},  // 110
    {nullptr, 0, {nullptr, nullptr}, 0, 0, nullptr, nullptr, nullptr},
};

cst_val* en_unit_construct_compound(cst_val* first, cst_val* second) {
  return val_append(first, cons_val(string_val("per"), second));
}

const norm_unit_engine en_unit_engine = {
    en_units, unit_disambig_sgpl, en_exp_real, en_unit_construct_compound, ".", nullptr,
};

int en_is_unit_expression(const cst_item* token, const char* s) {
  return generic_is_unit_expression(token, s, &en_unit_engine);
}

cst_val* en_exp_unit_expression(const cst_item* token, const char* s) {
  return generic_exp_unit_expression(token, s, &en_unit_engine);
}
