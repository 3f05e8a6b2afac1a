// Identifiers of the program's resources, shared by the resource script and
// the code that loads them.
#pragma once

// The window icon: 16 x 16, 32 x 32 and 48 x 48 pixels, each in 16 colours,
// 256 colours and 32-bit colour with alpha.
#define IDI_ORDNERLINK 1

// The built-in button pictures: 16 x 16 bitmaps on the light grey
// RGB(192, 192, 192), which the buttons show transparent through their mask
// colour. Picture number n is the bitmap IDB_PICTURE_BASE + n.
#define IDB_PICTURE_BASE 100
#define IDB_PICTURE_FOLDER 101
#define IDB_PICTURE_ELLIPSIS 102
#define IDB_PICTURE_PAPERCLIP 103
#define IDB_PICTURE_SHEET 104
#define IDB_PICTURE_CLIPBOARD 105
#define IDB_PICTURE_MAIL 106
#define IDB_PICTURE_FOLDER_SEARCH 107
#define IDB_PICTURE_BROWSER 108
#define IDB_PICTURE_CROSS_RED 109
#define IDB_PICTURE_FLOPPY 110
#define IDB_PICTURE_EXCLAMATION 111
#define IDB_PICTURE_MAGNIFIER 112
#define IDB_PICTURE_PLUG 113
#define IDB_PICTURE_CROSS_GREY 114
#define IDB_PICTURE_NOTES 115
#define IDB_PICTURE_COUNT 15
