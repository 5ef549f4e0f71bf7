// file_name_text.h - the text rules of a file-name field: the name a browse starts from, the
// quoting of a chosen name and the folder of a name. Portable, so they are tested natively.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace sipo::ui {

// The field's first word: leading blanks skipped, a blank (space or tab) ends it, and a
// double-quoted part, blanks and all, belongs to it without its quotes.
std::u16string FirstWord(std::u16string_view text);

// The name a browse opens with: the whole text when it names an existing file, else its first
// word.
std::u16string BrowsePresetName(std::u16string_view text,
                                const std::function<bool(std::u16string_view)>& isExistingFile);

// A chosen name as the field shows it: in double quotes when it holds a space and does not
// already begin with a double quote.
std::u16string QuotedIfSpaced(std::u16string_view name);

// The folder part of a name ("C:\a\b.txt" gives "C:\a", "C:\b.txt" gives "C:\"); empty when the
// name has no folder part.
std::u16string FolderOf(std::u16string_view name);

}  // namespace sipo::ui
