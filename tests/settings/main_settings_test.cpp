// Tests of loading and saving the main window's fields, and of window positions.
#include "settings/main_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings/window_placement.h"
#include "tests/support/temp_folder.h"

namespace sipo {
namespace {

// The main window's fields as a plain record, with a log of what was set in which order.
struct FieldsRecord : SettingsFields {
  std::map<SettingsField, std::string> texts;
  std::map<SettingsField, bool> checks;
  std::vector<SettingsField> setOrder;

  std::string FieldText(SettingsField f) const override {
    const auto it = texts.find(f);
    return it == texts.end() ? "" : it->second;
  }
  void SetFieldText(SettingsField f, std::string_view text) override {
    texts[f] = std::string(text);
    setOrder.push_back(f);
  }
  bool FieldChecked(SettingsField f) const override {
    const auto it = checks.find(f);
    return it != checks.end() && it->second;
  }
  void SetFieldChecked(SettingsField f, bool checked) override {
    checks[f] = checked;
    setOrder.push_back(f);
  }
};

// A window as a record; it logs the order in which its coordinates are set.
struct WindowRecord : PlacedWindow {
  std::string className = "TMainForm";
  std::int32_t left = 240, top = 152, width = 385, height = 684;
  std::vector<ScreenRect> screens = {{0, 0, 1280, 984}};
  std::vector<std::string> log;

  std::string ClassName() const override { return className; }
  std::int32_t Left() const override { return left; }
  std::int32_t Top() const override { return top; }
  std::int32_t Width() const override { return width; }
  std::int32_t Height() const override { return height; }
  void SetLeft(std::int32_t v) override {
    left = v;
    log.push_back("left");
  }
  void SetTop(std::int32_t v) override {
    top = v;
    log.push_back("top");
  }
  std::vector<ScreenRect> WorkAreas() const override { return screens; }
};

struct Settings {
  test::TempFolder folder;
  SettingsStore store;
  bool unavailable = !store.EnsureSettingsFile(folder.Dir());
  std::string File() const { return folder.Read("Zerbanix.ini"); }
};

TEST(MainSettings, FirstRunWritesTheThirteenLines) {
  Settings s;
  FieldsRecord fields;
  WindowRecord window;
  RestorePlacement(s.store, window);
  LoadSettings(s.store, fields, s.unavailable);
  EXPECT_EQ(fields.FieldText(SettingsField::ColumnEdit), "0");
  EXPECT_EQ(fields.FieldText(SettingsField::SingleEdit), "");
  EXPECT_FALSE(fields.FieldChecked(SettingsField::SYLKCheck));
  EXPECT_EQ(fields.setOrder.front(), SettingsField::SingleEdit);
  SavePlacement(s.store, window);
  SaveSettings(s.store, fields, s.unavailable);
  EXPECT_EQ(
      s.File(),
      "[GENERAL]\r\n[DIALOGS]\r\nTMainForm=0,0\r\n[SINGLE]\r\nNumber=\r\n[FILE]\r\nInput=\r\n"
      "OKOutput=\r\nBadOutput=\r\nColumn=0\r\nDelimiter=\r\nSingleColumn=Off\r\nSYLK=Off\r\n");
}

TEST(MainSettings, ValuesComeBackAsTheRulesSay) {
  Settings s;
  FieldsRecord saved;
  saved.texts = {{SettingsField::SingleEdit, "1234567897"},
                 {SettingsField::FileInputEdit, std::string(300, 'i')},
                 {SettingsField::FileOKOutputEdit, "\"C:\\my data\\ok.txt\""},
                 {SettingsField::FileBadOutputEdit, "bad.txt"},
                 {SettingsField::ColumnEdit, "abc"},
                 {SettingsField::DelimiterEdit, " "}};
  saved.checks = {{SettingsField::SingleColumnCheck, true}, {SettingsField::SYLKCheck, false}};
  SaveSettings(s.store, saved, false);
  const std::string file = s.File();
  EXPECT_NE(file.find("Column=0\r\n"), std::string::npos);
  EXPECT_NE(file.find("Delimiter= \r\n"), std::string::npos);
  EXPECT_NE(file.find("SingleColumn=On\r\n"), std::string::npos);

  FieldsRecord loaded;
  LoadSettings(s.store, loaded, false);
  EXPECT_EQ(loaded.FieldText(SettingsField::SingleEdit), "1234567897");
  EXPECT_EQ(loaded.FieldText(SettingsField::FileInputEdit), std::string(255, 'i'));
  EXPECT_EQ(loaded.FieldText(SettingsField::FileOKOutputEdit), "C:\\my data\\ok.txt");
  EXPECT_EQ(loaded.FieldText(SettingsField::ColumnEdit), "0");
  EXPECT_EQ(loaded.FieldText(SettingsField::DelimiterEdit), "");  // blanks are dropped on reading
  EXPECT_TRUE(loaded.FieldChecked(SettingsField::SingleColumnCheck));

  saved.texts[SettingsField::ColumnEdit] = "-3";
  SaveSettings(s.store, saved, false);
  EXPECT_NE(s.File().find("Column=-3\r\n"), std::string::npos);
}

TEST(MainSettings, UnavailableSettingsEmptyTheFieldsAndWriteNothing) {
  Settings s;
  FieldsRecord fields;
  fields.texts[SettingsField::SingleEdit] = "123";
  fields.checks[SettingsField::SYLKCheck] = true;
  LoadSettings(s.store, fields, true);
  for (auto f : {SettingsField::SingleEdit, SettingsField::FileInputEdit, SettingsField::ColumnEdit,
                 SettingsField::DelimiterEdit}) {
    EXPECT_EQ(fields.FieldText(f), "");
  }
  EXPECT_FALSE(fields.FieldChecked(SettingsField::SYLKCheck));
  EXPECT_EQ(fields.setOrder.size(), 8u);
  EXPECT_EQ(fields.setOrder.front(), SettingsField::SingleEdit);
  SaveSettings(s.store, fields, true);
  EXPECT_EQ(s.File(), "[GENERAL]\r\n");
}

TEST(WindowPlacement, TextsAndPoints) {
  EXPECT_EQ(PointToText(-1200, 50), "-1200,50");
  EXPECT_EQ(PointToText(0, 0), "0,0");
  const std::pair<std::string, WindowPoint> cases[] = {
      {"100,200", {100, 200}},
      {"-1200,50", {-1200, 50}},
      {"10,20,30", {10, 0}},
      {",300", {0, 300}},
      {"abc,def", {0, 0}},
      {"", {NoCoordinate, NoCoordinate}},
      {"100", {NoCoordinate, NoCoordinate}},
      {" 7 , $10", {7, 16}},
  };
  for (const auto& [text, point] : cases) {
    EXPECT_EQ(TextToPoint(text), point) << text;
  }
}

TEST(WindowPlacement, KeepOnScreenPullsBackOnlyWindowsOutsideEveryScreen) {
  const std::vector<ScreenRect> screens = {{0, 0, 1920, 1040}, {-1280, 0, 0, 1024}};
  struct Case {
    WindowPoint stored, expected;
  };
  const Case cases[] = {
      {{100, 200}, {100, 200}},      // on the primary screen
      {{-1200, 50}, {-1200, 50}},    // on the screen to the left
      {{1900, 1000}, {1900, 1000}},  // partly visible stays
      {{5000, 300}, {1520, 300}},    // right of everything: to the nearest right edge
      {{-3000, -2000}, {-1280, 0}},  // far up left: into the left screen's corner
      {{300, 4000}, {300, 640}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(KeepOnScreen(c.stored, 400, 400, screens), c.expected)
        << c.stored.left << "," << c.stored.top;
  }
  EXPECT_EQ(KeepOnScreen({5000, 5000}, 400, 400, {}), (WindowPoint{5000, 5000}));
}

TEST(WindowPlacement, RestoreAndSave) {
  Settings s;
  WindowRecord window;
  s.store.WriteSettingText("DIALOGS", "TMainForm", "100,200");
  RestorePlacement(s.store, window);
  EXPECT_EQ(window.log, (std::vector<std::string>{"top", "left"}));
  EXPECT_EQ(window.left, 100);
  EXPECT_EQ(window.top, 200);

  WindowRecord about;
  about.className = "TAboutForm";
  RestorePlacement(s.store, about);  // nothing stored yet: the top-left corner
  EXPECT_EQ(about.left, 0);
  EXPECT_EQ(about.top, 0);

  WindowRecord floating;
  floating.className = "TFloatingForm";
  s.store.WriteSettingText("DIALOGS", "TFloatingForm", "");
  RestorePlacement(s.store, floating);  // no comma: the designed position stays
  EXPECT_TRUE(floating.log.empty());
  s.store.WriteSettingText("DIALOGS", "TFloatingForm", "10,20,30");
  RestorePlacement(s.store, floating);
  EXPECT_EQ(floating.left, 10);
  EXPECT_EQ(floating.top, 0);
  s.store.WriteSettingText("DIALOGS", "TFloatingForm", "99999,99999");
  RestorePlacement(s.store, floating);
  EXPECT_EQ(floating.left, 1280 - floating.width);
  EXPECT_EQ(floating.top, 984 - floating.height);

  window.left = -5;
  window.top = 7;
  SavePlacement(s.store, window);
  EXPECT_EQ(s.store.ReadSettingText("DIALOGS", "tmainform"), "-5,7");
}

}  // namespace
}  // namespace sipo
