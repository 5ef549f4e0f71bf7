// about_texts.h - the About window's information text, licence and notice.
#pragma once

namespace sipo::ui {

extern const char* const kAboutInfoText;
extern const char* const kAboutLicenceText;
extern const char* const kAboutNoticeText;

}  // namespace sipo::ui
