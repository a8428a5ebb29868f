// The program's four-part version. Vesk.exe and its resource library carry the same
// numbers; start-up refuses a library whose version differs in any part.
#pragma once

#define VESK_VER_MAJOR 2
#define VESK_VER_MINOR 21
#define VESK_VER_BUILD 6
#define VESK_VER_FIX 9

#define VESK_FILEVERSION VESK_VER_MAJOR, VESK_VER_MINOR, VESK_VER_BUILD, VESK_VER_FIX
#define VESK_FILEVERSION_STR "2.21.6.9"
#define VESK_PRODUCT_NAME "Vesk"
#define VESK_COMPANY_NAME "Orvane"
#define VESK_COPYRIGHT "Copyright (C) 2026 Orvane"
// What the about box shows after "Build": the release's build date, space first.
#define VESK_SPECIAL_BUILD " 20261211"
// The library's internal name starts with the program's and ends in "Resource".
#define VESK_INTERNAL_NAME "Vesk"
#define VESK_RES_INTERNAL_NAME "Vesk_936_Resource"
#define VESK_RES_FILE_NAME "Vesk_Res_936.dll"
