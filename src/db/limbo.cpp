#include "db/limbo.h"

#include <cstdint>

#include "db/firebird/fb_handles.h"
#include "db/firebird/fb_status.h"

namespace ligamor {

namespace {

long long LittleEndian(const char* bytes, int length)
{
    std::uint64_t value = 0;
    for (int i = length - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return static_cast<long long>(value);
}

}  // namespace

std::vector<long long> LimboTransactions(Connection& connection)
{
    const char items[] = {isc_info_limbo, isc_info_end};
    // Each number takes a few bytes: a buffer this size holds thousands.
    std::vector<char> buffer(std::size_t{1} << 16);
    ISC_STATUS_ARRAY status{};
    connection.Api().database_info(status, &connection.Handle(), sizeof items, items,
                                   static_cast<short>(buffer.size() - 1), buffer.data());
    FbCheck(connection.Api(), status);
    std::vector<long long> numbers;
    for (std::size_t at = 0; at + 3 <= buffer.size() && buffer[at] != isc_info_end;) {
        const char item = buffer[at];
        const int length = static_cast<int>(LittleEndian(&buffer[at + 1], 2));
        at += 3;
        if (item == isc_info_truncated || at + static_cast<std::size_t>(length) > buffer.size()) break;
        if (item == isc_info_limbo) numbers.push_back(LittleEndian(&buffer[at], length));
        at += static_cast<std::size_t>(length);
    }
    return numbers;
}

void EndLimboTransaction(Connection& connection, long long number, bool commit)
{
    FbApi& api = connection.Api();
    FbTransactionHandle tr = 0;
    ISC_STATUS_ARRAY status{};
    const std::int64_t id = number;
    char bytes[sizeof id];
    for (std::size_t i = 0; i < sizeof id; ++i) bytes[i] = static_cast<char>((static_cast<std::uint64_t>(id) >> (8 * i)) & 0xff);
    // Firebird 3 takes a 4-byte number unless it is larger.
    const short length = number > 0xffffffffLL ? 8 : 4;
    api.reconnect_transaction(status, &connection.Handle(), &tr, length, bytes);
    FbCheck(api, status);
    FbEndTransaction(api, tr, commit ? FbEnd::Commit : FbEnd::Rollback);
}

}  // namespace ligamor
