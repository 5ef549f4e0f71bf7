// main_settings.h - moves the main window's eight remembered fields to and from the settings file.
#pragma once

#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace sipo {

enum class SettingsField {
  SingleEdit,
  FileInputEdit,
  FileOKOutputEdit,
  FileBadOutputEdit,
  ColumnEdit,
  DelimiterEdit,
  SingleColumnCheck,
  SYLKCheck,
};

// What the main window offers: the texts of its fields and the marks of its check boxes.
// Setting SingleEdit's text brings the single-number status up to date.
class SettingsFields {
 public:
  virtual ~SettingsFields() = default;
  virtual std::string FieldText(SettingsField field) const = 0;
  virtual void SetFieldText(SettingsField field, std::string_view text) = 0;
  virtual bool FieldChecked(SettingsField field) const = 0;
  virtual void SetFieldChecked(SettingsField field, bool checked) = 0;
};

// Fills the fields from the file, or empties them when settings are unavailable.
void LoadSettings(SettingsStore& store, SettingsFields& fields, bool settingsUnavailable);
// Writes the fields in a fixed order; nothing when settings are unavailable. A failed write
// throws and skips the writes after it.
void SaveSettings(SettingsStore& store, const SettingsFields& fields, bool settingsUnavailable);

}  // namespace sipo
