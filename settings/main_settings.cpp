// main_settings.cpp - moves the main window's eight remembered fields to and from the settings
// file.
#include "settings/main_settings.h"

#include <array>

#include "core/lenient_conversions.h"

namespace sipo {
namespace {

enum class Kind { Text, Integer, OnOff };

struct Entry {
  SettingsField field;
  std::string_view section;
  std::string_view key;
  Kind kind;
};

// In the order they are loaded and saved.
constexpr std::array<Entry, 8> kEntries = {{
    {SettingsField::SingleEdit, "SINGLE", "Number", Kind::Text},
    {SettingsField::FileInputEdit, "FILE", "Input", Kind::Text},
    {SettingsField::FileOKOutputEdit, "FILE", "OKOutput", Kind::Text},
    {SettingsField::FileBadOutputEdit, "FILE", "BadOutput", Kind::Text},
    {SettingsField::ColumnEdit, "FILE", "Column", Kind::Integer},
    {SettingsField::DelimiterEdit, "FILE", "Delimiter", Kind::Text},
    {SettingsField::SingleColumnCheck, "FILE", "SingleColumn", Kind::OnOff},
    {SettingsField::SYLKCheck, "FILE", "SYLK", Kind::OnOff},
}};

// A field is stored, and read back, only as far as the lenient conversions look at it.
std::string_view WithinConversionWindow(const std::string& text) {
  return std::string_view(text).substr(0, kConversionWindow);
}

}  // namespace

void LoadSettings(SettingsStore& store, SettingsFields& fields, bool settingsUnavailable) {
  for (const Entry& e : kEntries) {
    if (settingsUnavailable) {
      if (e.kind == Kind::OnOff) {
        fields.SetFieldChecked(e.field, false);
      } else {
        fields.SetFieldText(e.field, "");
      }
      continue;
    }
    switch (e.kind) {
      case Kind::Text:
        fields.SetFieldText(e.field, store.ReadSettingText(e.section, e.key));
        break;
      case Kind::Integer:
        fields.SetFieldText(e.field, IntToStrPlain(store.ReadSettingInteger(e.section, e.key)));
        break;
      case Kind::OnOff:
        fields.SetFieldChecked(e.field, store.ReadSettingOnOff(e.section, e.key));
        break;
    }
  }
}

void SaveSettings(SettingsStore& store, const SettingsFields& fields, bool settingsUnavailable) {
  if (settingsUnavailable) return;
  for (const Entry& e : kEntries) {
    switch (e.kind) {
      case Kind::Text:
        store.WriteSettingText(e.section, e.key, WithinConversionWindow(fields.FieldText(e.field)));
        break;
      case Kind::Integer:
        store.WriteSettingInteger(e.section, e.key,
                                  StrToIntLenient(WithinConversionWindow(fields.FieldText(e.field))));
        break;
      case Kind::OnOff:
        store.WriteSettingOnOff(e.section, e.key, fields.FieldChecked(e.field));
        break;
    }
  }
}

}  // namespace sipo
