/* The program's resource numbers, one list for the resource script and the code. */
#ifndef QUENNEL_RESOURCE_H
#define QUENNEL_RESOURCE_H

#define IDI_QUENNEL 1      /* the program's icon: 16 to 64 pixels */
#define IDB_GLYPH_OK 101   /* button glyphs: 16 x 16 cells, magenta transparent */
#define IDB_GLYPH_CANCEL 102
#define IDB_GLYPH_BROWSE 103
#define IDB_CARD_OK 104
/* The same glyphs drawn at 1.5 and 2 times the size: the 1x number plus 1000 and 2000. */
#define IDB_GLYPH_OK_150 1101
#define IDB_GLYPH_CANCEL_150 1102
#define IDB_GLYPH_BROWSE_150 1103
#define IDB_CARD_OK_150 1104
#define IDB_GLYPH_OK_200 2101
#define IDB_GLYPH_CANCEL_200 2102
#define IDB_GLYPH_BROWSE_200 2103
#define IDB_CARD_OK_200 2104

#endif
