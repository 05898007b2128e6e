/* en_nums_cart (98 nodes, the last one ends the table): converted from
   Flite's US English tree of the same shape (libflite_usenglish 2.2).
   Answers: "cardinal", "ordinal", "digits", "year".
   Each node asks feature `feat` with operator `op` against `val`; the
   "yes" branch is the next node, the "no" branch is node `no_node`;
   leaves (feature 255) carry the answer. */
#include <cst_cart.h>
#include <cst_val_const.h>

DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v0, 3.79999995);
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v1, "month");
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v2, "0");
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v3, "year");
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v4, "ordinal");
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v5, "cardinal");
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v6, "numeric");
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v7, 2);
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v8, "sym");
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v9, "digits");
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v10, 302.299988);
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v11, "flight");
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v12, "a");
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v13, 669.200012);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v14, 373.200012);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v15, 436.200012);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v16, 392.600006);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v17, 716.5);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v18, 773.599976);
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v19, "_other_");
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v20, 4.4000001);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v21, 2959.6001);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v22, 1773.40002);
DEF_STATIC_CONST_VAL_STRING(en_nums_cart_v23, "to");
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v24, 4.5999999);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v25, 4.80000019);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v26, 2880);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v27, 1633.19995);
DEF_STATIC_CONST_VAL_FLOAT(en_nums_cart_v28, 1306.40002);

static const char* const en_nums_cart_features[] = {
    "num_digits",
    "p.token_pos_guess",
    "month_range",
    "n.token_pos_guess",
    "p.p.token_pos_guess",
    "n.n.token_pos_guess",
    "name",
    NULL};

static const cst_cart_node en_nums_cart_nodes[] = {
    {0, CST_CART_OP_LESS, 56, (const cst_val*)&en_nums_cart_v0},
    {1, CST_CART_OP_IS, 5, (const cst_val*)&en_nums_cart_v1},
    {2, CST_CART_OP_IS, 4, (const cst_val*)&en_nums_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v3},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v4},
    {3, CST_CART_OP_IS, 9, (const cst_val*)&en_nums_cart_v1},
    {2, CST_CART_OP_IS, 8, (const cst_val*)&en_nums_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v4},
    {3, CST_CART_OP_IS, 19, (const cst_val*)&en_nums_cart_v6},
    {0, CST_CART_OP_LESS, 16, (const cst_val*)&en_nums_cart_v7},
    {1, CST_CART_OP_IS, 15, (const cst_val*)&en_nums_cart_v6},
    {4, CST_CART_OP_IS, 14, (const cst_val*)&en_nums_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {5, CST_CART_OP_IS, 18, (const cst_val*)&en_nums_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {0, CST_CART_OP_LESS, 27, (const cst_val*)&en_nums_cart_v7},
    {5, CST_CART_OP_IS, 26, (const cst_val*)&en_nums_cart_v6},
    {3, CST_CART_OP_IS, 25, (const cst_val*)&en_nums_cart_v8},
    {2, CST_CART_OP_IS, 24, (const cst_val*)&en_nums_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {6, CST_CART_OP_LESS, 35, (const cst_val*)&en_nums_cart_v10},
    {1, CST_CART_OP_IS, 30, (const cst_val*)&en_nums_cart_v11},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {3, CST_CART_OP_IS, 34, (const cst_val*)&en_nums_cart_v8},
    {1, CST_CART_OP_IS, 33, (const cst_val*)&en_nums_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {1, CST_CART_OP_IS, 37, (const cst_val*)&en_nums_cart_v12},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {3, CST_CART_OP_IS, 43, (const cst_val*)&en_nums_cart_v8},
    {5, CST_CART_OP_IS, 42, (const cst_val*)&en_nums_cart_v8},
    {6, CST_CART_OP_LESS, 41, (const cst_val*)&en_nums_cart_v13},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {6, CST_CART_OP_LESS, 45, (const cst_val*)&en_nums_cart_v14},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {6, CST_CART_OP_LESS, 49, (const cst_val*)&en_nums_cart_v15},
    {6, CST_CART_OP_LESS, 48, (const cst_val*)&en_nums_cart_v16},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {6, CST_CART_OP_LESS, 51, (const cst_val*)&en_nums_cart_v17},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {6, CST_CART_OP_LESS, 55, (const cst_val*)&en_nums_cart_v18},
    {1, CST_CART_OP_IS, 54, (const cst_val*)&en_nums_cart_v19},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {1, CST_CART_OP_IS, 62, (const cst_val*)&en_nums_cart_v6},
    {4, CST_CART_OP_IS, 59, (const cst_val*)&en_nums_cart_v1},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v3},
    {5, CST_CART_OP_IS, 61, (const cst_val*)&en_nums_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {5, CST_CART_OP_IS, 70, (const cst_val*)&en_nums_cart_v6},
    {3, CST_CART_OP_IS, 65, (const cst_val*)&en_nums_cart_v1},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {3, CST_CART_OP_IS, 67, (const cst_val*)&en_nums_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {1, CST_CART_OP_IS, 69, (const cst_val*)&en_nums_cart_v19},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v3},
    {1, CST_CART_OP_IS, 80, (const cst_val*)&en_nums_cart_v19},
    {0, CST_CART_OP_LESS, 77, (const cst_val*)&en_nums_cart_v20},
    {6, CST_CART_OP_LESS, 76, (const cst_val*)&en_nums_cart_v21},
    {6, CST_CART_OP_LESS, 75, (const cst_val*)&en_nums_cart_v22},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v3},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {4, CST_CART_OP_IS, 79, (const cst_val*)&en_nums_cart_v19},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {3, CST_CART_OP_IS, 82, (const cst_val*)&en_nums_cart_v23},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v3},
    {1, CST_CART_OP_IS, 88, (const cst_val*)&en_nums_cart_v8},
    {4, CST_CART_OP_IS, 85, (const cst_val*)&en_nums_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {0, CST_CART_OP_LESS, 87, (const cst_val*)&en_nums_cart_v24},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v3},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v9},
    {0, CST_CART_OP_LESS, 96, (const cst_val*)&en_nums_cart_v25},
    {6, CST_CART_OP_LESS, 95, (const cst_val*)&en_nums_cart_v26},
    {6, CST_CART_OP_LESS, 94, (const cst_val*)&en_nums_cart_v27},
    {6, CST_CART_OP_LESS, 93, (const cst_val*)&en_nums_cart_v28},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v3},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v3},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_nums_cart_v5},
    {255, CST_CART_OP_NONE, 0, NULL},
};

__attribute__((visibility("default"))) const cst_cart en_nums_cart = {en_nums_cart_nodes, en_nums_cart_features};
