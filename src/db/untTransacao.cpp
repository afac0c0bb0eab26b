#include "db/untTransacao.h"

#include "db/file_transaction.h"
#include "db/sql_values.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

namespace ligamor {

namespace {

std::string FirstText(DataModule& dtmain, const std::string& statement)
{
    std::unique_ptr<Query> query = OpenQuery(dtmain, statement);
    return query->FirstAsText();
}

long long FirstInteger(DataModule& dtmain, const std::string& statement)
{
    std::unique_ptr<Query> query = OpenQuery(dtmain, statement);
    return query->FirstAsInteger();
}

// Units, tax rates and states found once in a file's transaction are taken
// from there for its other lines; a code not found is asked again, since a
// later line of the file may create it.
std::string RememberedText(DataModule& dtmain, const std::string& statement)
{
    FileLookups* lookups = dtmain.conmain.Lookups();
    if (lookups == nullptr) return FirstText(dtmain, statement);
    if (auto found = lookups->texts.find(statement); found != lookups->texts.end()) return found->second;
    std::string value = FirstText(dtmain, statement);
    if (!value.empty()) lookups->Remember(statement, value);
    return value;
}

long long RememberedInteger(DataModule& dtmain, const std::string& statement)
{
    FileLookups* lookups = dtmain.conmain.Lookups();
    if (lookups == nullptr) return FirstInteger(dtmain, statement);
    if (auto found = lookups->integers.find(statement); found != lookups->integers.end()) return found->second;
    const long long value = FirstInteger(dtmain, statement);
    if (value != 0) lookups->Remember(statement, value);
    return value;
}

bool HasRow(DataModule& dtmain, const std::string& statement)
{
    std::unique_ptr<Query> query = OpenQuery(dtmain, statement);
    return !query->IsEmpty();
}

constexpr char kKeyGap = '\x1f';

// The key of a record in the answers; empty when its values are not all
// whole numbers.
std::string ExistenceKey(const std::string& table, const std::string& column, const std::string& value,
                         const std::string* second = nullptr)
{
    std::string key = IntegerKey(value);
    if (key.empty()) return {};
    if (second != nullptr) {
        const std::string part = IntegerKey(*second);
        if (part.empty()) return {};
        key += kKeyGap + part;
    }
    return table + kKeyGap + column + kKeyGap + key;
}

// What the answers of the block say; nothing when they do not cover the key.
std::optional<bool> Answered(DataModule& dtmain, const std::string& key)
{
    const FileLookups* lookups = dtmain.conmain.Lookups();
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
void SelectIn(DataModule& dtmain, const std::string& select, const std::string& column,
              const std::vector<std::string>& values, Found found)
{
    for (const std::string& condition : KeyConditions(column, values)) {
        std::unique_ptr<Query> query = OpenQuery(dtmain, select + " where " + condition);
        for (bool row = !query->IsEmpty(); row; row = query->NextRow()) found(*query);
    }
}

}  // namespace

bool RecordExists(DataModule& dtmain, const std::string& table, const std::string& keyColumn,
                  const std::string& value)
{
    if (const std::optional<bool> known = Answered(dtmain, ExistenceKey(table, keyColumn, value))) return *known;
    return HasRow(dtmain, "select " + keyColumn + " from " + table + " where " + keyColumn + " = " + Numeric(value));
}

bool RecordExistsByPair(DataModule& dtmain, const std::string& table, const std::string& firstColumn,
                        const std::string& secondColumn, const std::string& firstValue,
                        const std::string& secondValue)
{
    if (const std::optional<bool> known =
            Answered(dtmain, ExistenceKey(table, firstColumn + kKeyGap + secondColumn, firstValue, &secondValue)))
        return *known;
    return HasRow(dtmain, "select " + firstColumn + " from " + table + " where " + firstColumn + " = " +
                              Numeric(firstValue) + " and " + secondColumn + " = " + Numeric(secondValue));
}

void AskExistence(DataModule& dtmain, const std::string& table, const std::string& keyColumn,
                  const std::vector<std::string>& values)
{
    FileLookups* lookups = dtmain.conmain.Lookups();
    if (lookups == nullptr) return;
    lookups->ForgetAnswers();
    std::vector<std::string> listed;
    for (const std::string& value : values) {
        const std::string key = ExistenceKey(table, keyColumn, value);
        if (!key.empty() && lookups->asked.insert(key).second) listed.push_back(IntegerKey(value));
    }
    SelectIn(dtmain, "select " + keyColumn + " from " + table, keyColumn, listed, [&](Query& row) {
        lookups->found.insert(ExistenceKey(table, keyColumn, row.Text(0)));
    });
}

void AskExistenceByPair(DataModule& dtmain, const std::string& table, const std::string& firstColumn,
                        const std::string& secondColumn,
                        const std::vector<std::pair<std::string, std::string>>& values)
{
    FileLookups* lookups = dtmain.conmain.Lookups();
    if (lookups == nullptr) return;
    lookups->ForgetAnswers();
    const std::string columns = firstColumn + kKeyGap + secondColumn;
    std::vector<std::string> listed;
    std::unordered_set<std::string> firsts;
    for (const auto& [first, second] : values) {
        const std::string key = ExistenceKey(table, columns, first, &second);
        if (key.empty()) continue;
        lookups->asked.insert(key);
        if (firsts.insert(IntegerKey(first)).second) listed.push_back(IntegerKey(first));
    }
    SelectIn(dtmain, "select " + firstColumn + ", " + secondColumn + " from " + table, firstColumn, listed,
             [&](Query& row) {
                 const std::string second = row.Text(1);
                 lookups->found.insert(ExistenceKey(table, columns, row.Text(0), &second));
             });
}

std::string SelectValue(DataModule& dtmain, const std::string& statement)
{
    FileLookups* lookups = dtmain.conmain.Lookups();
    if (lookups == nullptr) return FirstText(dtmain, statement);
    if (auto found = lookups->texts.find(statement); found != lookups->texts.end()) return found->second;
    std::string value = FirstText(dtmain, statement);
    lookups->Remember(statement, value);
    return value;
}

std::string LookupUfBySigla(DataModule& dtmain, const std::string& value)
{
    return RememberedText(dtmain, "select cduf from uf where SGUF = '" + DoubledQuotes(value) + "'");
}

std::string LookupUnidadeByCode(DataModule& dtmain, const std::string& value)
{
    return RememberedText(dtmain, "select cdunidade from unidade where cdunidade = '" + DoubledQuotes(value) + "'");
}

std::string LookupAliquotaByCode(DataModule& dtmain, const std::string& value)
{
    return RememberedText(dtmain, "SELECT cdaliquota FROM aliquota WHERE cdaliquota = '" + DoubledQuotes(value) + "'");
}

long long FindUfCode(DataModule& dtmain, const std::string& value)
{
    return RememberedInteger(dtmain, "select cduf from UF where sguf = " + QuotedText(value));
}

long long FindAliquotaCode(DataModule& dtmain, const std::string& value)
{
    return RememberedInteger(dtmain, "select cdaliquota from aliquota where nmaliquota = " + QuotedText(value));
}

long long FindOrCreateUnidade(DataModule& dtmain, const std::string& shortName)
{
    const std::string name = QuotedText(shortName);
    const std::string byName = "select cdunidade from unidade where nmreduzido = " + name;
    FileLookups* lookups = dtmain.conmain.Lookups();
    if (lookups != nullptr)
        if (auto known = lookups->integers.find(byName); known != lookups->integers.end()) return known->second;
    std::unique_ptr<Query> found = OpenQuery(dtmain, byName);
    if (!found->IsEmpty()) {
        const long long code = found->FirstAsInteger();
        if (lookups != nullptr) lookups->Remember(byName, code);
        return code;
    }

    std::unique_ptr<Query> highest = OpenQuery(dtmain, "select MAX(cdunidade)+1 from unidade");
    const long long code = highest->FirstAsInteger();

    Query insert(dtmain.conmain);
    const std::string master = QuotedText("MASTER");
    insert.Lines() = {
        "insert into unidade (cdunidade, nmunidade, nmreduzido, usuinclusao, compinclusao, usualteracao, "
        "compalteracao)",
        "values (" + QuotedText(std::to_string(code)) + ", " + name + ", " + name + ", " + master + ", " + master +
            ", " + master + ", " + master + ")"};
    insert.Execute();
    if (lookups != nullptr) lookups->Remember(byName, code);
    return code;
}

}  // namespace ligamor
