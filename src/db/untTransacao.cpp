#include "db/untTransacao.h"

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
    return FirstText(dtmain, "select cduf from uf where SGUF = '" + DoubledQuotes(value) + "'");
}

std::string LookupUnidadeByCode(DataModule& dtmain, const std::string& value)
{
    return FirstText(dtmain, "select cdunidade from unidade where cdunidade = '" + DoubledQuotes(value) + "'");
}

std::string LookupAliquotaByCode(DataModule& dtmain, const std::string& value)
{
    return FirstText(dtmain, "SELECT cdaliquota FROM aliquota WHERE cdaliquota = '" + DoubledQuotes(value) + "'");
}

long long FindUfCode(DataModule& dtmain, const std::string& value)
{
    return FirstInteger(dtmain, "select cduf from UF where sguf = " + QuotedText(value));
}

long long FindAliquotaCode(DataModule& dtmain, const std::string& value)
{
    return FirstInteger(dtmain, "select cdaliquota from aliquota where nmaliquota = " + QuotedText(value));
}

long long FindOrCreateUnidade(DataModule& dtmain, const std::string& shortName)
{
    const std::string name = QuotedText(shortName);
    std::unique_ptr<Query> found = OpenQuery(dtmain, "select cdunidade from unidade where nmreduzido = " + name);
    if (!found->IsEmpty()) return found->FirstAsInteger();

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
    return code;
}

}  // namespace ligamor
