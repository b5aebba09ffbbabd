/* Resource and control identifiers, shared by the .rc templates and the code.
 * Several radio identifiers (3089-3094) are reused with other meanings on
 * different pages; each page has its own names for them. */
#ifndef KESTRANE_RESOURCE_H
#define KESTRANE_RESOURCE_H

/* Templates and icon */
#define IDD_ABOUT 100
#define IDD_BASIC_INFO 101
#define IDD_RESISTANCE 105
#define IDI_KESTRANE 106
#define IDD_WEAPONS_ARMOR 107
#define IDD_MAGICKA 108
#define IDD_MISCELLANEOUS 109
#define IDR_SHORTCUTS 110
#define IDD_TALLY 111
#define IDD_CLASSES 112
#define IDD_COMPARE 113

/* About box: the version line */
#define IDC_ABOUT_VERSION 2

/* Common to every page */
#define IDC_CLASS_NAME 3186
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_FILE_SAVE_AS 57604
#define ID_APP_EXIT_CMD 32001
#define ID_APP_ABOUT_CMD 11

/* The editor's menu (the window menu and the pages' context menu): system
   commands, so below 0xF000 with the low four bits zero. */
#define ID_EDIT_UNDO 0xE200
#define ID_EDIT_REDO 0xE210
#define ID_FILE_REVERT 0xE220
#define ID_VIEW_CLASSES 0xE230
#define ID_VIEW_CHECK 0xE240     /* the Check box; also Basic Info's "Check..." button */

/* The editor window's status bar: the class maker's reckoning, the findings' count */
#define IDC_STATUS_BAR 1030

/* Basic Info */
#define IDC_ATTRIBUTE0 3170      /* edit fields 3170-3177 */
#define IDC_ATTRIBUTE_ARROWS0 3178 /* arrows 3178-3185 */
#define IDC_MULTIPLIER 3187
#define IDC_MULTIPLIER_ARROWS 3188
#define IDC_HIT_POINTS 3189
#define IDC_HIT_POINTS_ARROWS 3190
#define IDC_SKILL0 3135          /* drop-down lists 3135-3146 */

/* Check box (the tally and the findings) */
#define IDC_TALLY_LIST 1000     /* rows of (points, what for), heading rows bold */
#define IDC_TALLY_USE 1001

/* Classes box */
#define IDC_CLASSES_WHERE 1010   /* the folder listed, or why nothing is */
#define IDC_CLASSES_LIST 1011
#define IDC_CLASSES_FOLDER 1012  /* "Folder..." */
#define IDC_CLASSES_COMPARE 1013 /* "Compare" */

/* Compare box: the differences, one field a line */
#define IDC_COMPARE_TEXT 1020

/* Resistance and Weakness: row r adds r */
#define IDC_RES_IMMUNE0 3075
#define IDC_RES_RESIST0 3082
#define IDC_RES_NORMAL0 3089
#define IDC_RES_LOW_TOL0 3096
#define IDC_RES_CRITICAL0 3103

/* Weapons and Armor */
#define IDC_WA_MATERIAL0 3203    /* 3203-3212 */
#define IDC_WA_LEATHER 3213
#define IDC_WA_CHAIN 3214
#define IDC_WA_PLATE 3215
#define IDC_WA_BUCKLER 3216
#define IDC_WA_ROUND_SHIELD 3217
#define IDC_WA_KITE_SHIELD 3218
#define IDC_WA_TOWER_SHIELD 3219
#define IDC_WA_FORBIDDEN0 3220   /* weapon group i adds i */
#define IDC_WA_NORMAL0 3089
#define IDC_WA_EXPERT0 3227

/* Magicka */
#define IDC_MAG_MAGERY_NONE 3233 /* code 5; 3234-3238 are codes 4 to 0 */
#define IDC_MAG_LIGHT_NORMAL 3089      /* bits 8 and 9 cleared */
#define IDC_MAG_LIGHT_REDUCED 3241     /* bit 9 */
#define IDC_MAG_LIGHT_UNABLE 3239      /* bit 8 */
#define IDC_MAG_DARK_NORMAL 3090       /* bits 6 and 7 cleared */
#define IDC_MAG_DARK_REDUCED 3242      /* bit 7 */
#define IDC_MAG_DARK_UNABLE 3240       /* bit 6 */
#define IDC_MAG_ABSORB_NONE 3091
#define IDC_MAG_ABSORB_LIGHT 3256
#define IDC_MAG_ABSORB_DARK 3259
#define IDC_MAG_ABSORB_ALWAYS 3263
#define IDC_MAG_NO_SPELL_REGEN 3243

/* Miscellaneous */
#define IDC_MISC_TALENT0 3248    /* 3248-3250 */
#define IDC_MISC_SUNLIGHT 3252
#define IDC_MISC_HOLY 3253
#define IDC_MISC_REGEN_NONE 3089
#define IDC_MISC_REGEN_LIGHT 3254
#define IDC_MISC_REGEN_DARK 3257
#define IDC_MISC_REGEN_WATER 3260
#define IDC_MISC_REGEN_ALWAYS 3261
#define IDC_MISC_HEAL_NONE 3090
#define IDC_MISC_HEAL_LIGHT 3255
#define IDC_MISC_HEAL_DARK 3258
#define IDC_MISC_HEAL_ALWAYS 3262
#define IDC_MISC_PHOBIA0 3265    /* enemy kind e adds e */
#define IDC_MISC_NORMAL0 3091
#define IDC_MISC_BONUS0 3269

#endif
