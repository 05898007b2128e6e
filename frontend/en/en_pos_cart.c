/* en_pos_cart (368 nodes, the last one ends the table): converted from
   Flite's US English tree of the same shape (libflite_usenglish 2.2).
   Answers: "n", "v", "j", "r", "0".
   Each node asks feature `feat` with operator `op` against `val`; the
   "yes" branch is the next node, the "no" branch is node `no_node`;
   leaves (feature 255) carry the answer. */
#include <cst_cart.h>
#include <cst_val_const.h>

DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v0, "content");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v1, "house");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v2, "n");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v3, "to");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v4, "_other_");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v5, "v");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v6, "does");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v7, "det");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v8, "md");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v9, "separate");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v10, "j");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v11, "overall");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v12, "perfect");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v13, "close");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v14, "present");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v15, "appropriate");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v16, "live");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v17, "moderate");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v18, "lead");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v19, "rebel");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v20, "the");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v21, "of");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v22, "elaborate");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v23, "record");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v24, "an");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v25, "punc");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v26, "in");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v27, "adv");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v28, "nineteen");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v29, "six");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v30, "putting");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v31, "frequent");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v32, "bought");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v33, "read");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v34, "use");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v35, "it");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v36, "lived");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v37, "aged");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v38, "uses");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v39, "associate");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v40, "compact");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v41, "suspect");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v42, "produce");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v43, "produces");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v44, "excess");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v45, "combine");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v46, "tear");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v47, "presents");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v48, "minute");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v49, "rejects");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v50, "mrs");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v51, "subject");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v52, "permits");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v53, "reading");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v54, "not");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v55, "who");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v56, "collect");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v57, "permit");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v58, "that");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v59, "records");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v60, "survey");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v61, "allies");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v62, "abuse");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v63, "project");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v64, "contract");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v65, "nasa");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v66, "impact");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v67, "concert");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v68, "progress");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v69, "rebels");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v70, "associates");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v71, "graduate");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v72, "export");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v73, "increases");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v74, "and");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v75, "pps");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v76, "lives");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v77, "sources");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v78, "r");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v79, "aux");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v80, "source");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v81, "upset");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v82, "object");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v83, "at");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v84, "refuse");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v85, "contrary");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v86, "be");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v87, "estimate");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v88, "estimates");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v89, "up");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v90, "tears");
DEF_STATIC_CONST_VAL_STRING(en_pos_cart_v91, "0");

static const char* const en_pos_cart_features[] = {
    "gpos",
    "name",
    "p.name",
    "n.gpos",
    "p.gpos",
    "n.n.name",
    "p.p.gpos",
    "n.n.gpos",
    "p.p.name",
    "n.name",
    NULL};

static const cst_cart_node en_pos_cart_nodes[] = {
    {0, CST_CART_OP_IS, 366, (const cst_val*)&en_pos_cart_v0},
    {1, CST_CART_OP_IS, 3, (const cst_val*)&en_pos_cart_v1},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {2, CST_CART_OP_IS, 7, (const cst_val*)&en_pos_cart_v3},
    {1, CST_CART_OP_IS, 6, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 9, (const cst_val*)&en_pos_cart_v6},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {3, CST_CART_OP_IS, 13, (const cst_val*)&en_pos_cart_v7},
    {4, CST_CART_OP_IS, 12, (const cst_val*)&en_pos_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {4, CST_CART_OP_IS, 15, (const cst_val*)&en_pos_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {3, CST_CART_OP_IS, 225, (const cst_val*)&en_pos_cart_v0},
    {4, CST_CART_OP_IS, 54, (const cst_val*)&en_pos_cart_v7},
    {1, CST_CART_OP_IS, 19, (const cst_val*)&en_pos_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 21, (const cst_val*)&en_pos_cart_v11},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 23, (const cst_val*)&en_pos_cart_v12},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 25, (const cst_val*)&en_pos_cart_v13},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 27, (const cst_val*)&en_pos_cart_v14},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 29, (const cst_val*)&en_pos_cart_v15},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 31, (const cst_val*)&en_pos_cart_v16},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 33, (const cst_val*)&en_pos_cart_v17},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 35, (const cst_val*)&en_pos_cart_v18},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 37, (const cst_val*)&en_pos_cart_v19},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {2, CST_CART_OP_IS, 41, (const cst_val*)&en_pos_cart_v20},
    {5, CST_CART_OP_IS, 40, (const cst_val*)&en_pos_cart_v21},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 43, (const cst_val*)&en_pos_cart_v22},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {5, CST_CART_OP_IS, 45, (const cst_val*)&en_pos_cart_v21},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 49, (const cst_val*)&en_pos_cart_v23},
    {6, CST_CART_OP_IS, 48, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {2, CST_CART_OP_IS, 53, (const cst_val*)&en_pos_cart_v24},
    {7, CST_CART_OP_IS, 52, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 66, (const cst_val*)&en_pos_cart_v4},
    {7, CST_CART_OP_IS, 57, (const cst_val*)&en_pos_cart_v25},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {4, CST_CART_OP_IS, 59, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {8, CST_CART_OP_IS, 65, (const cst_val*)&en_pos_cart_v27},
    {9, CST_CART_OP_IS, 62, (const cst_val*)&en_pos_cart_v28},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {5, CST_CART_OP_IS, 64, (const cst_val*)&en_pos_cart_v29},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 68, (const cst_val*)&en_pos_cart_v13},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 70, (const cst_val*)&en_pos_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 72, (const cst_val*)&en_pos_cart_v30},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 74, (const cst_val*)&en_pos_cart_v11},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 76, (const cst_val*)&en_pos_cart_v17},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 86, (const cst_val*)&en_pos_cart_v16},
    {4, CST_CART_OP_IS, 79, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {9, CST_CART_OP_IS, 81, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {7, CST_CART_OP_IS, 83, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {6, CST_CART_OP_IS, 85, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 88, (const cst_val*)&en_pos_cart_v31},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 90, (const cst_val*)&en_pos_cart_v14},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 92, (const cst_val*)&en_pos_cart_v32},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 94, (const cst_val*)&en_pos_cart_v33},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 102, (const cst_val*)&en_pos_cart_v34},
    {4, CST_CART_OP_IS, 97, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {9, CST_CART_OP_IS, 99, (const cst_val*)&en_pos_cart_v35},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {6, CST_CART_OP_IS, 101, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 104, (const cst_val*)&en_pos_cart_v36},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 106, (const cst_val*)&en_pos_cart_v37},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 108, (const cst_val*)&en_pos_cart_v38},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 110, (const cst_val*)&en_pos_cart_v12},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 112, (const cst_val*)&en_pos_cart_v18},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 114, (const cst_val*)&en_pos_cart_v15},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 116, (const cst_val*)&en_pos_cart_v39},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 118, (const cst_val*)&en_pos_cart_v40},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 120, (const cst_val*)&en_pos_cart_v41},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 122, (const cst_val*)&en_pos_cart_v22},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 126, (const cst_val*)&en_pos_cart_v19},
    {4, CST_CART_OP_IS, 125, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 128, (const cst_val*)&en_pos_cart_v42},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 130, (const cst_val*)&en_pos_cart_v43},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 132, (const cst_val*)&en_pos_cart_v44},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 134, (const cst_val*)&en_pos_cart_v45},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 136, (const cst_val*)&en_pos_cart_v46},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 138, (const cst_val*)&en_pos_cart_v47},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 140, (const cst_val*)&en_pos_cart_v48},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 142, (const cst_val*)&en_pos_cart_v49},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 144, (const cst_val*)&en_pos_cart_v23},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 146, (const cst_val*)&en_pos_cart_v50},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 148, (const cst_val*)&en_pos_cart_v51},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 150, (const cst_val*)&en_pos_cart_v52},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 156, (const cst_val*)&en_pos_cart_v53},
    {4, CST_CART_OP_IS, 155, (const cst_val*)&en_pos_cart_v0},
    {6, CST_CART_OP_IS, 154, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {2, CST_CART_OP_IS, 158, (const cst_val*)&en_pos_cart_v54},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {2, CST_CART_OP_IS, 160, (const cst_val*)&en_pos_cart_v55},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 162, (const cst_val*)&en_pos_cart_v56},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 164, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 166, (const cst_val*)&en_pos_cart_v57},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {9, CST_CART_OP_IS, 168, (const cst_val*)&en_pos_cart_v35},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {2, CST_CART_OP_IS, 172, (const cst_val*)&en_pos_cart_v58},
    {8, CST_CART_OP_IS, 171, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {4, CST_CART_OP_IS, 174, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 176, (const cst_val*)&en_pos_cart_v59},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 178, (const cst_val*)&en_pos_cart_v60},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 180, (const cst_val*)&en_pos_cart_v61},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 182, (const cst_val*)&en_pos_cart_v62},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 184, (const cst_val*)&en_pos_cart_v63},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 186, (const cst_val*)&en_pos_cart_v64},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 188, (const cst_val*)&en_pos_cart_v65},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {4, CST_CART_OP_IS, 222, (const cst_val*)&en_pos_cart_v0},
    {1, CST_CART_OP_IS, 191, (const cst_val*)&en_pos_cart_v66},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 193, (const cst_val*)&en_pos_cart_v67},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 195, (const cst_val*)&en_pos_cart_v68},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {6, CST_CART_OP_IS, 197, (const cst_val*)&en_pos_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 199, (const cst_val*)&en_pos_cart_v69},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 201, (const cst_val*)&en_pos_cart_v70},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 203, (const cst_val*)&en_pos_cart_v71},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {6, CST_CART_OP_IS, 205, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 207, (const cst_val*)&en_pos_cart_v72},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 209, (const cst_val*)&en_pos_cart_v73},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {6, CST_CART_OP_IS, 211, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {8, CST_CART_OP_IS, 213, (const cst_val*)&en_pos_cart_v74},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {6, CST_CART_OP_IS, 215, (const cst_val*)&en_pos_cart_v75},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {8, CST_CART_OP_IS, 217, (const cst_val*)&en_pos_cart_v3},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {2, CST_CART_OP_IS, 219, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {7, CST_CART_OP_IS, 221, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 224, (const cst_val*)&en_pos_cart_v76},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 251, (const cst_val*)&en_pos_cart_v13},
    {4, CST_CART_OP_IS, 228, (const cst_val*)&en_pos_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {2, CST_CART_OP_IS, 230, (const cst_val*)&en_pos_cart_v77},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {4, CST_CART_OP_IS, 232, (const cst_val*)&en_pos_cart_v79},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {6, CST_CART_OP_IS, 234, (const cst_val*)&en_pos_cart_v79},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {4, CST_CART_OP_IS, 236, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {2, CST_CART_OP_IS, 238, (const cst_val*)&en_pos_cart_v80},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {3, CST_CART_OP_IS, 240, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {5, CST_CART_OP_IS, 244, (const cst_val*)&en_pos_cart_v4},
    {2, CST_CART_OP_IS, 243, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {5, CST_CART_OP_IS, 246, (const cst_val*)&en_pos_cart_v20},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {8, CST_CART_OP_IS, 248, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {2, CST_CART_OP_IS, 250, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {4, CST_CART_OP_IS, 273, (const cst_val*)&en_pos_cart_v79},
    {1, CST_CART_OP_IS, 254, (const cst_val*)&en_pos_cart_v36},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 256, (const cst_val*)&en_pos_cart_v33},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 258, (const cst_val*)&en_pos_cart_v81},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 260, (const cst_val*)&en_pos_cart_v32},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {9, CST_CART_OP_IS, 262, (const cst_val*)&en_pos_cart_v3},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 264, (const cst_val*)&en_pos_cart_v14},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 266, (const cst_val*)&en_pos_cart_v15},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 268, (const cst_val*)&en_pos_cart_v12},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {9, CST_CART_OP_IS, 270, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {7, CST_CART_OP_IS, 272, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 277, (const cst_val*)&en_pos_cart_v16},
    {7, CST_CART_OP_IS, 276, (const cst_val*)&en_pos_cart_v25},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 279, (const cst_val*)&en_pos_cart_v36},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 283, (const cst_val*)&en_pos_cart_v41},
    {4, CST_CART_OP_IS, 282, (const cst_val*)&en_pos_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 285, (const cst_val*)&en_pos_cart_v11},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {3, CST_CART_OP_IS, 287, (const cst_val*)&en_pos_cart_v75},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 289, (const cst_val*)&en_pos_cart_v33},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 291, (const cst_val*)&en_pos_cart_v82},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {9, CST_CART_OP_IS, 293, (const cst_val*)&en_pos_cart_v21},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {2, CST_CART_OP_IS, 295, (const cst_val*)&en_pos_cart_v55},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 297, (const cst_val*)&en_pos_cart_v17},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 299, (const cst_val*)&en_pos_cart_v15},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 301, (const cst_val*)&en_pos_cart_v12},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 307, (const cst_val*)&en_pos_cart_v14},
    {4, CST_CART_OP_IS, 304, (const cst_val*)&en_pos_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {2, CST_CART_OP_IS, 306, (const cst_val*)&en_pos_cart_v83},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {9, CST_CART_OP_IS, 317, (const cst_val*)&en_pos_cart_v3},
    {1, CST_CART_OP_IS, 310, (const cst_val*)&en_pos_cart_v84},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 312, (const cst_val*)&en_pos_cart_v85},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 314, (const cst_val*)&en_pos_cart_v51},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 316, (const cst_val*)&en_pos_cart_v18},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 319, (const cst_val*)&en_pos_cart_v9},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v10},
    {1, CST_CART_OP_IS, 321, (const cst_val*)&en_pos_cart_v32},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 323, (const cst_val*)&en_pos_cart_v30},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 325, (const cst_val*)&en_pos_cart_v81},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 341, (const cst_val*)&en_pos_cart_v76},
    {3, CST_CART_OP_IS, 332, (const cst_val*)&en_pos_cart_v26},
    {4, CST_CART_OP_IS, 331, (const cst_val*)&en_pos_cart_v0},
    {2, CST_CART_OP_IS, 330, (const cst_val*)&en_pos_cart_v4},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {4, CST_CART_OP_IS, 340, (const cst_val*)&en_pos_cart_v75},
    {8, CST_CART_OP_IS, 335, (const cst_val*)&en_pos_cart_v21},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {9, CST_CART_OP_IS, 339, (const cst_val*)&en_pos_cart_v4},
    {6, CST_CART_OP_IS, 338, (const cst_val*)&en_pos_cart_v26},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {9, CST_CART_OP_IS, 343, (const cst_val*)&en_pos_cart_v86},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v78},
    {2, CST_CART_OP_IS, 345, (const cst_val*)&en_pos_cart_v54},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {9, CST_CART_OP_IS, 353, (const cst_val*)&en_pos_cart_v58},
    {1, CST_CART_OP_IS, 348, (const cst_val*)&en_pos_cart_v87},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 352, (const cst_val*)&en_pos_cart_v88},
    {7, CST_CART_OP_IS, 351, (const cst_val*)&en_pos_cart_v0},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {9, CST_CART_OP_IS, 355, (const cst_val*)&en_pos_cart_v89},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {1, CST_CART_OP_IS, 357, (const cst_val*)&en_pos_cart_v42},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {4, CST_CART_OP_IS, 359, (const cst_val*)&en_pos_cart_v7},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {6, CST_CART_OP_IS, 361, (const cst_val*)&en_pos_cart_v79},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {1, CST_CART_OP_IS, 363, (const cst_val*)&en_pos_cart_v90},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {6, CST_CART_OP_IS, 365, (const cst_val*)&en_pos_cart_v8},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v5},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v2},
    {255, CST_CART_OP_LEAF, 0, (const cst_val*)&en_pos_cart_v91},
    {255, CST_CART_OP_NONE, 0, NULL},
};

__attribute__((visibility("default"))) const cst_cart en_pos_cart = {en_pos_cart_nodes, en_pos_cart_features};
