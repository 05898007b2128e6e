/* English phrasing tree (16 nodes, the last one ends the table). Each node
   asks feature `feat` with operator `op` against `val`; the "yes" branch is
   the next node, the "no" branch is node `no_node`; leaves carry the answer. */
#include <cst_cart.h>
#include <cst_val_const.h>

DEF_STATIC_CONST_VAL_STRING(val_dashes, "--");
DEF_STATIC_CONST_VAL_STRING(val_bb, "BB");
DEF_STATIC_CONST_VAL_STRING(val_nb, "NB");
DEF_STATIC_CONST_VAL_STRING(val_zero, "0");
DEF_STATIC_CONST_VAL_STRING(val_empty, "");
DEF_STATIC_CONST_VAL_STRING(val_one, "1");

static const char* const en_phrasing_features[] = {
    "R:Token.parent.n.name", "R:Token.n.name", "R:Token.parent.punc", "R:Token.parent.break",
    "break", "n.name", NULL};

static const cst_cart_node en_phrasing_nodes[] = {
    {0, CST_CART_OP_IS, 2, (const cst_val*)&val_dashes},  /* next token is "--" */
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_bb},
    {1, CST_CART_OP_IS, 10, (const cst_val*)&val_zero},   /* last word of its token */
    {2, CST_CART_OP_IS, 9, (const cst_val*)&val_empty},   /* token without punctuation */
    {3, CST_CART_OP_IS, 6, (const cst_val*)&val_one},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_bb},
    {4, CST_CART_OP_IS, 8, (const cst_val*)&val_one},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_bb},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_nb},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_bb},
    {5, CST_CART_OP_IS, 12, (const cst_val*)&val_zero},   /* no next word */
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_bb},
    {4, CST_CART_OP_IS, 14, (const cst_val*)&val_one},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_bb},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&val_nb},
    {255, CST_CART_OP_NONE, 0, NULL},
};

__attribute__((visibility("default"))) const cst_cart en_phrasing_cart = {en_phrasing_nodes, en_phrasing_features};
