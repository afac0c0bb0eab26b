#pragma once
// The kinds of record that the point of sale sends, one row each, in the one
// order every step of the cycle takes them: the file, the fields of a line,
// the record a line writes and those that must have gone in before it, the
// log titles. A new kind is a row here, its processor (bound beside the
// others in StandardInputFileTable) and its statements.
#include <array>
#include <cstddef>
#include <string_view>

namespace ligamor {

// The rows' order, for the code that handles one kind.
enum class RecordKindId : std::size_t { Cliente, Produto, PreVenda, ItemPreVenda };

// A record named by one field of the line: what + the field's text.
struct KeyField {
    std::string_view what;  // "o cliente "; empty: none
    std::size_t field = 0;
};

struct RecordKind {
    RecordKindId id;
    std::string_view fileName;     // "CLIENTE.TXT"
    std::string_view movedPrefix;  // "CLIENTE_"
    std::size_t fields;            // data fields of a line
    KeyField own;                  // the record the line writes
    KeyField part;                 // set: the line writes this part of own's record
    std::array<KeyField, 2> needs;  // what must have gone in before it
    std::string_view insertTitle;  // the log titles, UTF-8
    std::string_view updateTitle;
};

inline constexpr auto kRecordKinds = std::to_array<RecordKind>({
    {RecordKindId::Cliente, "CLIENTE.TXT", "CLIENTE_", 14, {"o cliente ", 0}, {}, {},
     " INSERÇÃO - CLIENTE -  Data: ", " ATUALIZAÇÃO - CLIENTE -  Data: "},
    {RecordKindId::Produto, "PRODUTO.TXT", "PRODUTO_", 7, {"o produto ", 0}, {}, {},
     " INSERÇÃO - PRODUTO -  Data: ", " ATUALIZAÇÃO - PRODUTO  Data: "},
    {RecordKindId::PreVenda, "PREVENDA.TXT", "PREVENDA", 7, {"a pré-venda ", 0}, {}, {{{"o cliente ", 3}}},
     "INSERÇÃO - PRE-VENDA / DAV -  Data: ", "ATUALIZAÇÃO - PRE-VENDA / DAV -  Data: "},
    {RecordKindId::ItemPreVenda, "ITEMPREVENDA.TXT", "ITEMPREVENDA", 6, {"a pré-venda ", 0}, {"o item ", 1},
     {{{"a pré-venda ", 0}, {"o produto ", 2}}}, "INSERÇÃO - ITEM DO PRE-VENDA / DAV -  Data: ",
     "ATUALIZAÇÃO - ITEM DO PRE-VENDA / DAV -  Data: "},
});

inline constexpr std::size_t kRecordKindCount = kRecordKinds.size();

constexpr const RecordKind& KindOf(RecordKindId id)
{
    return kRecordKinds[static_cast<std::size_t>(id)];
}

// Each row stands where its id says, and names fields its lines have.
constexpr bool RowsAreSound()
{
    for (std::size_t i = 0; i < kRecordKindCount; ++i) {
        const RecordKind& kind = kRecordKinds[i];
        if (static_cast<std::size_t>(kind.id) != i || kind.own.field >= kind.fields || kind.part.field >= kind.fields)
            return false;
        for (const KeyField& need : kind.needs)
            if (need.field >= kind.fields) return false;
    }
    return true;
}
static_assert(RowsAreSound(), "a record kind's row must stand at its id and name fields of its lines");

}  // namespace ligamor
