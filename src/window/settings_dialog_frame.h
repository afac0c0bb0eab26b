#pragma once
// Where the settings dialog's controls stand, in pixels, for every toolkit
// that draws it: the controls around the fields here, the fields and their
// labels as the settings keys place them (config/settings_keys.h).
#include "config/settings_keys.h"

namespace ligamor {

struct DialogRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct SettingsDialogFrame {
    DialogRect client;         // the dialog's client area
    DialogRect databaseGroup;  // the group box whose top left the database fields' places start from
    DialogRect pickDatabase;   // "...", in the group
    DialogRect test;           // "Testar", in the group
    DialogRect bevel;          // the frame around OK and Cancelar
    DialogRect ok;
    DialogRect cancel;
};

inline constexpr SettingsDialogFrame kSettingsDialogFrame{
    .client = {0, 0, 583, 332},
    .databaseGroup = {0, 2, 583, 135},
    .pickDatabase = {458, 52, 23, 19},
    .test = {488, 48, 89, 32},
    .bevel = {0, 272, 583, 60},
    .ok = {118, 285, 113, 33},
    .cancel = {334, 285, 113, 33},
};

// The labels were laid out for a narrow 8-point font, one line high.
inline constexpr int kFieldLabelHeight = 14;

// A field's label, which runs up to the field, and the field, in the pixels
// of the box they stand in.
constexpr DialogRect LabelRect(const FieldPlace& place)
{
    return {place.labelLeft, place.labelTop, place.left - place.labelLeft, kFieldLabelHeight};
}
constexpr DialogRect FieldRect(const FieldPlace& place)
{
    return {place.left, place.top, place.width, place.height};
}

// A rectangle of the database group in the dialog's own pixels, for a toolkit
// whose group box does not hold the controls drawn on it.
constexpr DialogRect InDialog(DialogRect rect, FieldBox box)
{
    if (box == FieldBox::DatabaseGroup) {
        rect.left += kSettingsDialogFrame.databaseGroup.left;
        rect.top += kSettingsDialogFrame.databaseGroup.top;
    }
    return rect;
}

}  // namespace ligamor
