// Web addresses, e-mail addresses, hashtags and handles as people read them
// out: the address is cut into labels and the joiners between them, which
// are said as "dot", "at", "slash", "dash" and "underscore"; a scheme
// (https://) is not said, a hashtag is "hashtag" and its words, a handle
// "at" and its words. Labels keep their spelling; the token rules decide
// whether a label is a word or letters.
#ifndef USEN_ADDRESS_H
#define USEN_ADDRESS_H

#include <string>
#include <vector>

struct UsenAddressPiece {
  std::string text;
  bool label;  // a label of the address (else a spoken joiner word)
};

// Splits `s` (a whole token, without its surrounding punctuation) into
// pieces when it is an address, hashtag or handle; false (pieces untouched)
// when it is not one.
bool usen_address_pieces(const std::string& s, std::vector<UsenAddressPiece>* pieces);

// Cuts a run of letters and digits at its case changes: BreakingNews into
// Breaking News, BBCOne into BBC One, Channel4 into Channel 4.
std::vector<std::string> usen_camel_words(const std::string& s);

#endif
