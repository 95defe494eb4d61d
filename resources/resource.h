/* The program's resource numbers, one list for the resource script and the code. */
#ifndef QUENNEL_RESOURCE_H
#define QUENNEL_RESOURCE_H

#define IDI_QUENNEL 1      /* the program's icon */
#define IDB_GLYPH_OK 101   /* button glyphs: 16 x 16 cells, magenta transparent */
#define IDB_GLYPH_CANCEL 102
#define IDB_GLYPH_BROWSE 103
#define IDB_CARD_OK 104

#endif
