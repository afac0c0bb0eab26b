#include "db/untTransacao.h"

#include "db/file_transaction.h"
#include "db/sql_values.h"

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
    if (!value.empty()) lookups->texts.emplace(statement, value);
    return value;
}

long long RememberedInteger(DataModule& dtmain, const std::string& statement)
{
    FileLookups* lookups = dtmain.conmain.Lookups();
    if (lookups == nullptr) return FirstInteger(dtmain, statement);
    if (auto found = lookups->integers.find(statement); found != lookups->integers.end()) return found->second;
    const long long value = FirstInteger(dtmain, statement);
    if (value != 0) lookups->integers.emplace(statement, value);
    return value;
}

bool HasRow(DataModule& dtmain, const std::string& statement)
{
    std::unique_ptr<Query> query = OpenQuery(dtmain, statement);
    return !query->IsEmpty();
}

}  // namespace

bool RecordExists(DataModule& dtmain, const std::string& table, const std::string& keyColumn,
                  const std::string& value)
{
    return HasRow(dtmain, "select " + keyColumn + " from " + table + " where " + keyColumn + " = " + Numeric(value));
}

bool RecordExistsByPair(DataModule& dtmain, const std::string& table, const std::string& firstColumn,
                        const std::string& secondColumn, const std::string& firstValue,
                        const std::string& secondValue)
{
    return HasRow(dtmain, "select " + firstColumn + " from " + table + " where " + firstColumn + " = " +
                              Numeric(firstValue) + " and " + secondColumn + " = " + Numeric(secondValue));
}

std::string SelectValue(DataModule& dtmain, const std::string& statement)
{
    return FirstText(dtmain, statement);
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
        if (lookups != nullptr) lookups->integers.emplace(byName, code);
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
    if (lookups != nullptr) lookups->integers.emplace(byName, code);
    return code;
}

}  // namespace ligamor
