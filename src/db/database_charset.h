#pragma once
// The shop's texts are single Windows-1252 bytes, sent unconverted. A database
// whose default character set is single-byte (WIN1252, ISO8859_1, NONE) stores
// them as sent; one whose default is multi-byte (UTF8, UNICODE_FSS) refuses
// them, unless the attachment names the character set they are in, so that
// Firebird converts them both ways.
#include "db/firebird/fb_client.h"

namespace ligamor {

// The connection character set named for a multi-byte database.
inline constexpr const char* kShopTextCharset = "WIN1252";

// Bytes per character of the attached database's default character set; 1
// when it has none (NONE). One short query in a transaction of its own.
int DefaultCharsetBytesPerCharacter(FbApi& api, FbDatabaseHandle& db, int dialect);

}  // namespace ligamor
