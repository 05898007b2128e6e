/* en_int_tone_cart (96 nodes, the last one ends the table): converted from
   Flite's US English tree of the same shape (libflite_usenglish 2.2).
   Answers: "L-L%", "L-H%", "H-H%", "H-", "NONE".
   Each node asks feature `feat` with operator `op` against `val`; the
   "yes" branch is the next node, the "no" branch is node `no_node`;
   leaves (feature 255) carry the answer. */
#include <cst_cart.h>
#include <cst_val_const.h>

DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v0, "1");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v1, "H-H%");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v2, "cc");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v3, "NONE");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v4, "10");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v5, "md");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v6, "4");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v7, "det");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v8, "3");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v9, "in");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v10, "0");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v11, "L-L%");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v12, "aux");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v13, "6");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v14, "L-H%");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v15, "5");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v16, "2");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v17, "pps");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v18, "content");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v19, "to");
DEF_STATIC_CONST_VAL_STRING(en_int_tone_cart_v20, "H-");

static const char* const en_int_tone_cart_features[] = {
    "lisp_syl_yn_question",
    "R:SylStructure.parent.gpos",
    "ssyl_in",
    "p.old_syl_break",
    "n.old_syl_break",
    "old_syl_break",
    "R:SylStructure.parent.R:Word.n.gpos",
    "R:SylStructure.parent.R:Word.p.gpos",
    "syl_in",
    "sub_phrases",
    "n.stress",
    "R:SylStructure.parent.R:Word.n.n.gpos",
    "p.p.old_syl_break",
    "n.n.old_syl_break",
    "R:SylStructure.parent.R:Word.p.p.gpos",
    NULL};

static const cst_cart_node en_int_tone_cart_nodes[] = {
    {0, CST_CART_OP_IS, 2, (const cst_val*)&en_int_tone_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v1},
    {1, CST_CART_OP_IS, 4, (const cst_val*)&en_int_tone_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {2, CST_CART_OP_IS, 6, (const cst_val*)&en_int_tone_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {1, CST_CART_OP_IS, 8, (const cst_val*)&en_int_tone_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {3, CST_CART_OP_IS, 10, (const cst_val*)&en_int_tone_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {1, CST_CART_OP_IS, 12, (const cst_val*)&en_int_tone_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {4, CST_CART_OP_IS, 14, (const cst_val*)&en_int_tone_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {4, CST_CART_OP_IS, 16, (const cst_val*)&en_int_tone_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {1, CST_CART_OP_IS, 18, (const cst_val*)&en_int_tone_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {5, CST_CART_OP_IS, 46, (const cst_val*)&en_int_tone_cart_v6},
    {6, CST_CART_OP_IS, 21, (const cst_val*)&en_int_tone_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {7, CST_CART_OP_IS, 23, (const cst_val*)&en_int_tone_cart_v12},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {6, CST_CART_OP_IS, 25, (const cst_val*)&en_int_tone_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {2, CST_CART_OP_IS, 27, (const cst_val*)&en_int_tone_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {8, CST_CART_OP_IS, 29, (const cst_val*)&en_int_tone_cart_v13},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {6, CST_CART_OP_IS, 31, (const cst_val*)&en_int_tone_cart_v12},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v14},
    {8, CST_CART_OP_IS, 33, (const cst_val*)&en_int_tone_cart_v15},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {9, CST_CART_OP_IS, 35, (const cst_val*)&en_int_tone_cart_v16},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {7, CST_CART_OP_IS, 37, (const cst_val*)&en_int_tone_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {9, CST_CART_OP_IS, 45, (const cst_val*)&en_int_tone_cart_v10},
    {6, CST_CART_OP_IS, 42, (const cst_val*)&en_int_tone_cart_v9},
    {4, CST_CART_OP_IS, 41, (const cst_val*)&en_int_tone_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v14},
    {10, CST_CART_OP_IS, 44, (const cst_val*)&en_int_tone_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v14},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v11},
    {1, CST_CART_OP_IS, 48, (const cst_val*)&en_int_tone_cart_v17},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {8, CST_CART_OP_IS, 50, (const cst_val*)&en_int_tone_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {1, CST_CART_OP_IS, 94, (const cst_val*)&en_int_tone_cart_v18},
    {11, CST_CART_OP_IS, 53, (const cst_val*)&en_int_tone_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {12, CST_CART_OP_IS, 55, (const cst_val*)&en_int_tone_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {8, CST_CART_OP_IS, 57, (const cst_val*)&en_int_tone_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {13, CST_CART_OP_IS, 59, (const cst_val*)&en_int_tone_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {11, CST_CART_OP_IS, 61, (const cst_val*)&en_int_tone_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {7, CST_CART_OP_IS, 63, (const cst_val*)&en_int_tone_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {13, CST_CART_OP_IS, 65, (const cst_val*)&en_int_tone_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {11, CST_CART_OP_IS, 67, (const cst_val*)&en_int_tone_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {2, CST_CART_OP_IS, 69, (const cst_val*)&en_int_tone_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {11, CST_CART_OP_IS, 71, (const cst_val*)&en_int_tone_cart_v19},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {14, CST_CART_OP_IS, 73, (const cst_val*)&en_int_tone_cart_v19},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {7, CST_CART_OP_IS, 75, (const cst_val*)&en_int_tone_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {14, CST_CART_OP_IS, 77, (const cst_val*)&en_int_tone_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {8, CST_CART_OP_IS, 79, (const cst_val*)&en_int_tone_cart_v16},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {11, CST_CART_OP_IS, 81, (const cst_val*)&en_int_tone_cart_v12},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {9, CST_CART_OP_IS, 83, (const cst_val*)&en_int_tone_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {14, CST_CART_OP_IS, 85, (const cst_val*)&en_int_tone_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {2, CST_CART_OP_IS, 87, (const cst_val*)&en_int_tone_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {4, CST_CART_OP_IS, 89, (const cst_val*)&en_int_tone_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {6, CST_CART_OP_IS, 91, (const cst_val*)&en_int_tone_cart_v18},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {5, CST_CART_OP_IS, 93, (const cst_val*)&en_int_tone_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v20},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_int_tone_cart_v3},
    {255, CST_CART_OP_NONE, 0, NULL},
};

__attribute__((visibility("default"))) const cst_cart en_int_tone_cart = {en_int_tone_cart_nodes, en_int_tone_cart_features};
