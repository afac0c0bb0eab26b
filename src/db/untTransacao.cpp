#include "db/untTransacao.h"

#include "db/file_lookups.h"
#include "db/sql_values.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

namespace ligamor {

namespace {

// A query read in the unit's transaction, opened.
std::unique_ptr<Query> OpenIn(UnitOfWork& work, const std::string& statement)
{
    auto query = std::make_unique<Query>(work.Attachment(), work.ReadTransaction());
    query->SetText(statement);
    query->Open();
    return query;
}

std::string FirstText(UnitOfWork& work, const std::string& statement)
{
    return OpenIn(work, statement)->FirstAsText();
}

long long FirstInteger(UnitOfWork& work, const std::string& statement)
{
    return OpenIn(work, statement)->FirstAsInteger();
}

// Units, tax rates and states found once in a file's transaction are taken
// from there for its other lines; a code not found is asked again, since a
// later line of the file may create it.
std::string RememberedText(UnitOfWork& work, const std::string& statement)
{
    FileLookups* lookups = work.Lookups();
    if (lookups == nullptr) return FirstText(work, statement);
    if (auto found = lookups->texts.find(statement); found != lookups->texts.end()) return found->second;
    std::string value = FirstText(work, statement);
    if (!value.empty()) lookups->Remember(statement, value);
    return value;
}

long long RememberedInteger(UnitOfWork& work, const std::string& statement)
{
    FileLookups* lookups = work.Lookups();
    if (lookups == nullptr) return FirstInteger(work, statement);
    if (auto found = lookups->integers.find(statement); found != lookups->integers.end()) return found->second;
    const long long value = FirstInteger(work, statement);
    if (value != 0) lookups->Remember(statement, value);
    return value;
}

bool HasRow(UnitOfWork& work, const std::string& statement)
{
    std::unique_ptr<Query> query = OpenIn(work, statement);
    return !query->IsEmpty();
}

constexpr char kKeyGap = '\x1f';

// The key of a record in the answers; empty when its values are not all
// whole numbers.
std::string ExistenceKey(const std::string& table, const std::string& column, const std::string& value,
                         const std::string* second = nullptr)
{
    std::string key = BlockKey(value);
    if (key.empty()) return {};
    if (second != nullptr) {
        const std::string part = BlockKey(*second);
        if (part.empty()) return {};
        key += kKeyGap + part;
    }
    return table + kKeyGap + column + kKeyGap + key;
}

// What the answers of the block say; nothing when they do not cover the key.
std::optional<bool> Answered(UnitOfWork& work, const std::string& key)
{
    const FileLookups* lookups = work.Lookups();
    if (lookups == nullptr || key.empty() || !lookups->asked.count(key)) return std::nullopt;
    return lookups->found.count(key) > 0;
}

// Firebird takes at most 1,500 values in one IN list.
constexpr std::size_t kValuesPerList = 1000;
// Codes this close are asked as one range: what the range brings beyond
// them is a few rows, and a range costs the engine far less to compile than
// a list (a catalogue's codes mostly follow each other).
constexpr long long kRangeGap = 8;

// The conditions on column that find the whole numbers given (IntegerKey),
// each to be asked in one statement.
std::vector<std::string> KeyConditions(const std::string& column, const std::vector<std::string>& values)
{
    std::vector<long long> keys;
    keys.reserve(values.size());
    for (const std::string& v : values) keys.push_back(std::stoll(v));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::string ranges;
    std::vector<long long> single;
    for (std::size_t i = 0, j = 0; i < keys.size(); i = ++j) {
        while (j + 1 < keys.size() && keys[j + 1] - keys[j] <= kRangeGap) ++j;
        if (j == i) {
            single.push_back(keys[i]);
            continue;
        }
        if (!ranges.empty()) ranges += " or ";
        ranges += column + " between " + std::to_string(keys[i]) + " and " + std::to_string(keys[j]);
    }
    std::vector<std::string> conditions;
    if (!ranges.empty()) conditions.push_back(ranges);
    for (std::size_t first = 0; first < single.size(); first += kValuesPerList) {
        std::string list = column + " in (";
        const std::size_t end = std::min(single.size(), first + kValuesPerList);
        for (std::size_t i = first; i < end; ++i) {
            if (i > first) list += ',';
            list += std::to_string(single[i]);
        }
        list += ")";
        if (conditions.size() == 1 && first == 0) conditions[0] += " or " + list;
        else conditions.push_back(list);
    }
    return conditions;
}

// Runs "<select> where <conditions on column>" for the values and hands each
// row to found.
template <typename Found>
void SelectIn(UnitOfWork& work, const std::string& select, const std::string& column,
              const std::vector<std::string>& values, Found found)
{
    for (const std::string& condition : KeyConditions(column, values)) {
        std::unique_ptr<Query> query = OpenIn(work, select + " where " + condition);
        for (bool row = !query->IsEmpty(); row; row = query->NextRow()) found(*query);
    }
}

}  // namespace

bool RecordExists(UnitOfWork& work, const std::string& table, const std::string& keyColumn,
                  const std::string& value)
{
    if (const std::optional<bool> known = Answered(work, ExistenceKey(table, keyColumn, value))) return *known;
    return HasRow(work, "select " + keyColumn + " from " + table + " where " + keyColumn + " = " + Numeric(value));
}

bool RecordExistsByPair(UnitOfWork& work, const std::string& table, const std::string& firstColumn,
                        const std::string& secondColumn, const std::string& firstValue,
                        const std::string& secondValue)
{
    if (const std::optional<bool> known =
            Answered(work, ExistenceKey(table, firstColumn + kKeyGap + secondColumn, firstValue, &secondValue)))
        return *known;
    return HasRow(work, "select " + firstColumn + " from " + table + " where " + firstColumn + " = " +
                              Numeric(firstValue) + " and " + secondColumn + " = " + Numeric(secondValue));
}

void AskExistence(UnitOfWork& work, const std::string& table, const std::string& keyColumn,
                  const std::vector<std::string>& values)
{
    FileLookups* lookups = work.Lookups();
    if (lookups == nullptr) return;
    lookups->ForgetAnswers();
    std::vector<std::string> listed;
    for (const std::string& value : values) {
        const std::string key = ExistenceKey(table, keyColumn, value);
        if (!key.empty() && lookups->asked.insert(key).second) listed.push_back(BlockKey(value));
    }
    SelectIn(work, "select " + keyColumn + " from " + table, keyColumn, listed, [&](Query& row) {
        lookups->found.insert(ExistenceKey(table, keyColumn, row.Text(0)));
    });
}

void AskExistenceByPair(UnitOfWork& work, const std::string& table, const std::string& firstColumn,
                        const std::string& secondColumn,
                        const std::vector<std::pair<std::string, std::string>>& values)
{
    FileLookups* lookups = work.Lookups();
    if (lookups == nullptr) return;
    lookups->ForgetAnswers();
    const std::string columns = firstColumn + kKeyGap + secondColumn;
    std::vector<std::string> listed;
    std::unordered_set<std::string> firsts;
    for (const auto& [first, second] : values) {
        const std::string key = ExistenceKey(table, columns, first, &second);
        if (key.empty()) continue;
        lookups->asked.insert(key);
        if (firsts.insert(BlockKey(first)).second) listed.push_back(BlockKey(first));
    }
    SelectIn(work, "select " + firstColumn + ", " + secondColumn + " from " + table, firstColumn, listed,
             [&](Query& row) {
                 const std::string second = row.Text(1);
                 lookups->found.insert(ExistenceKey(table, columns, row.Text(0), &second));
             });
}

std::string SelectValue(UnitOfWork& work, const std::string& statement)
{
    FileLookups* lookups = work.Lookups();
    if (lookups == nullptr) return FirstText(work, statement);
    if (auto found = lookups->texts.find(statement); found != lookups->texts.end()) return found->second;
    std::string value = FirstText(work, statement);
    lookups->Remember(statement, value);
    return value;
}

std::string LookupUfBySigla(UnitOfWork& work, const std::string& value)
{
    return RememberedText(work, "select cduf from uf where SGUF = '" + DoubledQuotes(value) + "'");
}

std::string LookupUnidadeByCode(UnitOfWork& work, const std::string& value)
{
    return RememberedText(work, "select cdunidade from unidade where cdunidade = '" + DoubledQuotes(value) + "'");
}

std::string LookupAliquotaByCode(UnitOfWork& work, const std::string& value)
{
    return RememberedText(work, "SELECT cdaliquota FROM aliquota WHERE cdaliquota = '" + DoubledQuotes(value) + "'");
}

long long FindUfCode(UnitOfWork& work, const std::string& value)
{
    return RememberedInteger(work, "select cduf from UF where sguf = " + QuotedText(value));
}

long long FindAliquotaCode(UnitOfWork& work, const std::string& value)
{
    return RememberedInteger(work, "select cdaliquota from aliquota where nmaliquota = " + QuotedText(value));
}

long long FindOrCreateUnidade(UnitOfWork& work, const std::string& shortName)
{
    const std::string name = QuotedText(shortName);
    const std::string byName = "select cdunidade from unidade where nmreduzido = " + name;
    FileLookups* lookups = work.Lookups();
    if (lookups != nullptr)
        if (auto known = lookups->integers.find(byName); known != lookups->integers.end()) return known->second;
    std::unique_ptr<Query> found = OpenIn(work, byName);
    if (!found->IsEmpty()) {
        const long long code = found->FirstAsInteger();
        if (lookups != nullptr) lookups->Remember(byName, code);
        return code;
    }

    std::unique_ptr<Query> highest = OpenIn(work, "select MAX(cdunidade)+1 from unidade");
    const long long code = highest->FirstAsInteger();

    const std::string master = QuotedText("MASTER");
    const std::string insert =
        "insert into unidade (cdunidade, nmunidade, nmreduzido, usuinclusao, compinclusao, usualteracao, "
        "compalteracao)\nvalues (" +
        QuotedText(std::to_string(code)) + ", " + name + ", " + name + ", " + master + ", " + master + ", " + master +
        ", " + master + ")";
    // A unit of work that cannot write it now runs the line again alone.
    if (work.WriteLookup(insert) == Written::RunsAlone) return 0;
    if (lookups != nullptr) lookups->RememberForFile(byName, code);
    return code;
}

}  // namespace ligamor
