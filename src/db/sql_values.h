#pragma once
// How values are pasted into statement texts. Statements stay plain text (the
// failure message shows them as run), so every value is made safe here: text
// between quotes has its quotes doubled, and a value written without quotes
// must be one numeric literal.
#include <initializer_list>
#include <string>
#include <string_view>

#include "runtime/clock.h"
#include "runtime/failures.h"

namespace ligamor {

// The value with every single quote doubled (D'ÁVILA -> D''ÁVILA), without
// the enclosing quotes.
std::string DoubledQuotes(std::string_view value);

// The value enclosed in single quotes, its own quotes doubled.
std::string QuotedText(std::string_view value);

// Blanks, an optional sign, digits with at most one "." (at least one digit),
// blanks.
bool IsNumericLiteral(std::string_view value);

// The integer a numeric literal stands for, written the one way ("007",
// " +7.00 " -> "7"; "-0" -> "0"), when it is a whole number of at most 18
// digits; empty otherwise. Two literals that compare equal give equal keys.
std::string IntegerKey(std::string_view value);

// "'%s' não é um valor numérico válido"
// IntegerKey of a value the database reads as that very number wherever the
// line's own statement pastes it: at most 18 digits in all. A longer literal
// ("3.0000000000000000000") may be refused where it is pasted, so no answer
// asked in another form may stand for it: empty.
std::string BlockKey(std::string_view value);

ConversionFailure NotNumeric(std::string_view value);

// The value unchanged when it is empty or a numeric literal; raises NotNumeric
// otherwise. An empty value is left for the database to refuse.
const std::string& Numeric(const std::string& value);

// The first value of the list that is neither empty nor a numeric literal;
// nullptr when all are fine.
const std::string* FirstNotNumeric(std::initializer_list<const std::string*> values);

// Date and time literals of statements: always mm/dd/yyyy and hh:mm:ss with
// "/" and ":", which the database reads whatever the regional settings are.
std::string SqlDate(const DateTime& t);
std::string SqlTime(const DateTime& t);

}  // namespace ligamor
