#include "db/firebird/fb_values.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "runtime/blanks.h"
#include "runtime/clock.h"
#include "runtime/failures.h"
#include "runtime/text1252.h"

namespace ligamor {

namespace {

template <typename T>
T Read(const XSQLVAR& column)
{
    T value;
    std::memcpy(&value, column.sqldata, sizeof value);
    return value;
}

bool IsInteger(int type)
{
    return type == SQL_SHORT || type == SQL_LONG || type == SQL_INT64;
}

long long IntegerValue(const XSQLVAR& column, int type)
{
    switch (type) {
    case SQL_SHORT: return Read<int16_t>(column);
    case SQL_LONG: return Read<int32_t>(column);
    default: return Read<int64_t>(column);
    }
}

std::string TextValue(const XSQLVAR& column, int type)
{
    if (type == SQL_VARYING) {
        const auto length = static_cast<unsigned short>(Read<int16_t>(column));
        return std::string(column.sqldata + sizeof(short), length);
    }
    return std::string(column.sqldata, static_cast<unsigned short>(column.sqllen));
}

// Days since 17 November 1858, the client's day zero.
std::string DateText(ISC_DATE days)
{
    // Civil date from a day count (days since 1970-01-01 here).
    long long z = static_cast<long long>(days) - 40587 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned day = doy - (153 * mp + 2) / 5 + 1;
    const unsigned month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = static_cast<long long>(yoe) + era * 400 + (month <= 2);
    char text[32];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02u", year, month, day);
    return text;
}

// Ten-thousandths of a second since midnight.
std::string TimeText(ISC_TIME time)
{
    const int seconds = static_cast<int>(time / 10000);
    return FormatTime(DateTime{0, 0, 0, seconds / 3600 % 100, seconds / 60 % 60, seconds % 60}, ':');
}

std::string FloatText(double value)
{
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}


long long ParseInteger(const std::string& text)
{
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty()) return 0;
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    if (*begin == '+') ++begin;
    long long value = 0;
    auto result = std::from_chars(begin, end, value);
    if (begin == end || result.ec != std::errc() || result.ptr != end) throw InvalidInteger(text);
    return value;
}

long long RoundScaled(long long value, int scale)
{
    long long divisor = 1;
    for (int i = 0; i < -scale && divisor <= INT64_MAX / 10; ++i) divisor *= 10;
    long long quotient = value / divisor;
    const long long remainder = value % divisor;
    if (remainder * 2 >= divisor) ++quotient;
    else if (remainder * 2 <= -divisor) --quotient;
    return quotient;
}

}  // namespace

int FbVaxInteger(const char* bytes, int length)
{
    int value = 0;
    for (int i = length - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

bool FbColumnIsNull(const XSQLVAR& column)
{
    if ((column.sqltype & ~1) == SQL_NULL) return true;
    return (column.sqltype & 1) && column.sqlind && *column.sqlind == -1;
}

std::string FbScaledText(long long value, int scale)
{
    // The magnitude as unsigned, so that the smallest int64 keeps its digits.
    const bool negative = value < 0;
    const unsigned long long magnitude =
        negative ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    std::string digits = std::to_string(magnitude);
    if (scale > 0) {
        digits.append(static_cast<std::size_t>(scale), '0');
    } else if (scale < 0) {
        const std::size_t places = static_cast<std::size_t>(-scale);
        if (digits.size() <= places) digits.insert(0, places + 1 - digits.size(), '0');
        digits.insert(digits.size() - places, 1, '.');
    }
    if (negative) digits.insert(0, 1, '-');
    return digits;
}

std::string FbColumnText(const XSQLVAR& column)
{
    if (FbColumnIsNull(column)) return "";
    const int type = column.sqltype & ~1;
    if (IsInteger(type)) return FbScaledText(IntegerValue(column, type), column.sqlscale);
    switch (type) {
    case SQL_TEXT:
    case SQL_VARYING: return TextValue(column, type);
    case SQL_FLOAT: return FloatText(Read<float>(column));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return FloatText(Read<double>(column));
    case SQL_TYPE_DATE: return DateText(Read<ISC_DATE>(column));
    case SQL_TYPE_TIME: return TimeText(Read<ISC_TIME>(column));
    case SQL_TIMESTAMP: {
        const auto stamp = Read<ISC_TIMESTAMP>(column);
        return DateText(stamp.timestamp_date) + " " + TimeText(stamp.timestamp_time);
    }
    case SQL_BOOLEAN: return Read<unsigned char>(column) ? "True" : "False";
    default: throw DatabaseFailure(Cp1252("Tipo de coluna não suportado: ") + std::to_string(type));
    }
}

long long FbColumnInteger(const XSQLVAR& column)
{
    if (FbColumnIsNull(column)) return 0;
    const int type = column.sqltype & ~1;
    if (IsInteger(type)) {
        const long long value = IntegerValue(column, type);
        if (column.sqlscale < 0) return RoundScaled(value, column.sqlscale);
        long long scaled = value;
        for (int i = 0; i < column.sqlscale; ++i) scaled *= 10;
        return scaled;
    }
    switch (type) {
    case SQL_TEXT:
    case SQL_VARYING: return ParseInteger(TextValue(column, type));
    case SQL_FLOAT: return std::llround(Read<float>(column));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return std::llround(Read<double>(column));
    case SQL_BOOLEAN: return Read<unsigned char>(column) ? 1 : 0;
    default: throw InvalidInteger(FbColumnText(column));
    }
}

}  // namespace ligamor
