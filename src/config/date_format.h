#pragma once
// FORMATO_DATA: how the shop writes dates, recorded in the settings file by
// whoever saved it last, so that every face of ligamor on the computer (the
// window under the shop's account, the service under its own) reads the
// dates of the input files the same way.
#include <optional>
#include <string>

#include "runtime/clock.h"

namespace ligamor {

struct SystemSettings;

// "dd/mm/aaaa hh:mm:ss" with the order and separators of these settings.
std::string DateFormatValue(const RegionalSettings& regional);

// The regional settings a value names: the date's three fields (dd, mm, and
// aaaa or yyyy, any letter case, of any length) in the order day month year,
// month day year or year month day with one separator between them, then
// optionally a blank and hh, mm and optionally ss with one time separator
// (":" when there is no time). Separators are one visible character that is
// neither a letter nor a digit. Nothing for anything else.
std::optional<RegionalSettings> ReadDateFormatValue(const std::string& value);

// Where the date order that the faces use comes from.
enum class DateRuleSource {
    SettingsFile,  // the file's FORMATO_DATA
    Account,       // no FORMATO_DATA: the regional settings of the account that runs this program
    Unreadable,    // a FORMATO_DATA that ReadDateFormatValue does not read: the account's, as without one
};

struct DateRule {
    RegionalSettings regional;
    DateRuleSource source;
};

// The file's FORMATO_DATA when it has a readable one, otherwise account.
DateRule ShopDateRule(const SystemSettings& settings, const RegionalSettings& account);

}  // namespace ligamor
