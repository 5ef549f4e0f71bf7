// UI tests of the main window's layout: places, label room, tab order and hints.
#include <gtest/gtest.h>

#include <string>

#include "tests/ui/sipo_app.h"
#include "tests/ui/window_probe.h"
#include "ui/base/control_ids.h"

namespace sipo::uitest {
namespace {

using namespace sipo::ui;

// For a label, a width of 0 means that it starts at left; otherwise it ends at left + width.
struct Place {
  int id;
  int left, top, width, height;
};

std::string Describe(int id, const RECT& rc) {
  return "control " + std::to_string(id) + " at " + std::to_string(rc.left) + "," +
         std::to_string(rc.top) + " " + std::to_string(rc.right - rc.left) + "x" +
         std::to_string(rc.bottom - rc.top);
}

// Client coordinates of the main window: a panel's origin plus the place on the panel.
TEST(MainFormLayout, EveryWindowedControlStandsAtItsPlace) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const Place places[] = {
      {IDC_LogoImage, 2, 0, 377, 57},
      {IDC_SinglePanel, 5, 96, 369, 81},
      {IDC_SingleHeader, 5, 96, 368, 17},
      {IDC_SingleEdit, 5 + 136, 96 + 24, 121, 19},
      {IDC_FloatingClipButton, 5 + 272, 96 + 24, 89, 49},
      {IDC_MultiPanel, 5, 184, 369, 185},
      {IDC_MultiHeader, 5, 184, 368, 17},
      {IDC_MultiGrid, 5 + 8, 184 + 24, 273, 153},
      {IDC_MultiImportButton, 5 + 288, 184 + 24, 73, 41},
      {IDC_MultiExportButton, 5 + 288, 184 + 72, 73, 41},
      {IDC_FilePanel, 5, 376, 369, 241},
      {IDC_FileHeader, 5, 376, 368, 17},
      {IDC_FileInputEdit, 5 + 8, 376 + 40, 353, 18},
      {IDC_FileOKOutputEdit, 5 + 8, 376 + 80, 353, 18},
      {IDC_FileBadOutputEdit, 5 + 8, 376 + 120, 353, 18},
      {IDC_FileAnimator, 5 + 8, 376 + 152, 85, 86},
      {IDC_ColumnEdit, 5 + 176, 376 + 152, 57, 19},
      {IDC_DelimiterEdit, 5 + 176, 376 + 172, 57, 19},
      {IDC_SingleColumnCheck, 5 + 248, 376 + 152, 97, 17},
      {IDC_SYLKCheck, 5 + 248, 376 + 172, 113, 17},
      {IDC_FileButton, 5 + 104, 376 + 208, 257, 25},
      {IDC_CloseButton, 237, 624, 137, 25},
      {IDC_AboutButton, 5, 624, 153, 25},
  };
  for (const Place& p : places) {
    const RECT rc = RectIn(app.Control(p.id), app.MainWindow());
    const RECT expected = {p.left, p.top, p.left + p.width, p.top + p.height};
    EXPECT_TRUE(EqualRect(&rc, &expected)) << Describe(p.id, rc);
  }
  EXPECT_FALSE(IsWindowVisible(app.Control(IDC_FileAnimator)));
}

// Labels are as wide as their text in the font the user's Windows draws them with, so a label
// that runs into its neighbour shows here whatever its designed width.
TEST(MainFormLayout, LabelsStartAtTheirPlacesAndLeaveTheirNeighboursRoom) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  app.SetText(IDC_SingleEdit, L"1234567890");  // the longest status text
  // A label beside its field keeps its right edge there (width 0: the left edge is fixed).
  const Place labels[] = {
      {IDC_NameLabel, 3, 64, 0, 23},
      {IDC_SingleLabel, 5 + 16, 96 + 27, 110, 13},
      {IDC_StatusLabel, 5 + 88, 96 + 48, 38, 13},
      {IDC_StatusValue, 5 + 136, 96 + 48, 0, 13},
      {IDC_FileInputLabel, 5 + 8, 376 + 24, 0, 13},
      {IDC_FileOKOutputLabel, 5 + 8, 376 + 64, 0, 13},
      {IDC_FileBadOutputLabel, 5 + 8, 376 + 104, 0, 13},
      {IDC_ColumnLabel, 5 + 104, 376 + 154, 68, 13},
      {IDC_DelimiterLabel, 5 + 114, 376 + 174, 58, 13},
  };
  for (const Place& p : labels) {
    HWND label = app.Control(p.id);
    const RECT rc = RectIn(label, app.MainWindow());
    if (p.width == 0) {
      EXPECT_EQ(rc.left, p.left) << Describe(p.id, rc);
    } else {
      EXPECT_EQ(rc.right, p.left + p.width) << Describe(p.id, rc);
    }
    EXPECT_EQ(rc.top, p.top) << Describe(p.id, rc);
    EXPECT_EQ(rc.bottom - rc.top, p.height) << Describe(p.id, rc);
    HWND parent = GetParent(label);
    RECT room;
    GetClientRect(parent, &room);
    const RECT own = RectIn(label, parent);
    EXPECT_LE(own.right, room.right) << Describe(p.id, rc) << " leaves its parent";
    for (HWND other = GetWindow(parent, GW_CHILD); other != nullptr;
         other = GetWindow(other, GW_HWNDNEXT)) {
      if (other == label || !IsWindowVisible(other)) continue;
      const RECT theirs = RectIn(other, parent);
      RECT overlap;
      EXPECT_FALSE(IntersectRect(&overlap, &own, &theirs))
          << Describe(p.id, rc) << " runs into control " << GetDlgCtrlID(other);
    }
  }
}

TEST(MainFormLayout, TheUsersFontIsTahoma) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, EASTEUROPE_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, L"Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  EXPECT_STREQ(face, L"Tahoma");
}

TEST(MainFormLayout, TabVisitsTheControlsInTheDesignedOrder) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const int order[] = {IDC_FloatingClipButton, IDC_MultiGrid,     IDC_MultiImportButton,
                       IDC_MultiExportButton,  IDC_FileInputEdit, IDC_FileOKOutputEdit,
                       IDC_FileBadOutputEdit,  IDC_ColumnEdit,    IDC_DelimiterEdit,
                       IDC_SingleColumnCheck,  IDC_FileButton,    IDC_SYLKCheck,
                       IDC_CloseButton,        IDC_AboutButton,   IDC_SingleEdit};
  app.Focus(IDC_SingleEdit);
  for (int expected : order) {
    HWND from = FocusOf(app.MainWindow());
    PostMessageW(from, WM_KEYDOWN, VK_TAB, 0x000F0001);
    PostMessageW(from, WM_KEYUP, VK_TAB, 0xC00F0001);
    Settle(app.MainWindow());
    EXPECT_EQ(GetDlgCtrlID(FocusOf(app.MainWindow())), expected);
  }
}

TEST(MainFormLayout, EveryHintShowsItsText) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  struct Hint {
    int id;
    const wchar_t* text;
  };
  // clang-format off
  const Hint hints[] = {
      {IDC_SingleEdit, L"Sem pište nebo vložte kontrolované číslo.\r\nStatus zobrazí výsledek kontroly."},
      {IDC_FloatingClipButton, L"Vyvolá malinké plovoucí okno, \r\nkteré bude reagovat na změny obsahu schránky a \r\nprůběžně kontrolovat cokoliv, co do schránky zkopírujete."},
      {IDC_MultiImportButton, L"Zkopíruje do tabulky seznam čísel,\r\nco řádek, to číslo a všechny je\r\nokamžitě prověří."},
      {IDC_MultiExportButton, L"Zkopíruje obsah tabulky do schránky.\r\nPoužije formát s oddělovačem sloupců a\r\nuvozovkami."},
      {IDC_FileInputEdit, L"Vstupní soubor ke kontrole.\r\nProgram na příkaz projede vstupní soubor a ověří platnost\r\nčísel SIPO v něm obsažených - roztřídí ho na platné a neplatné\r\nřádky. Soubor může obsahovat více sloupců oddělených \r\noddělovači, přičemž kontrolovat se může jen jeden."},
      {IDC_FileOKOutputEdit, L"Výstupní soubor. Sem se umístí ty řádky, kde bude nalezeno platné číslo SIPO.\r\nSoubor bude vytvořen nebo přepsán. Pokud se to nepodaří, nastane chyba."},
      {IDC_FileBadOutputEdit, L"Výstupní soubor. Sem se umístí ty řádky, kde NEbude nalezeno platné číslo SIPO.\r\nSoubor bude vytvořen nebo přepsán. Pokud se to nepodaří, nastane chyba."},
      {IDC_ColumnEdit, L"Pokud je vstupní soubor typu CSV, neboli více sloupců \r\noddělených oddělovacím znakem, udejte číslo sloupce,\r\nve kterém se nachází číslo SIPO ke kontrole.\r\nPOZOR ! První sloupec má číslo nula !"},
      {IDC_DelimiterEdit, L"Pokud je vstupní soubor typu CSV, neboli více sloupců \r\noddělených oddělovacím znakem, udejte znak,\r\npoužívaný jako oddělovač. Typickým oddělovačem\r\nbývá středník."},
      {IDC_SingleColumnCheck, L"Pokud má soubor pouze jeden sloupec, zašrtněte toto pole."},
      {IDC_FileButton, L"Spustí zpracování vstupního souboru.\r\nVstupní soubor musí existovat.\r\nVýstupní soubory musí mít platné jméno a \r\nbudou vytvořeny nebo přepsány."},
      {IDC_SYLKCheck, L"Pokud jsou hodnoty v jednotlivých sloupcích obestavěné závorkami\r\n(to bývá obvyklé), zaškrtněte toto pole.\r\nV takovém případě je jedno, jaký uvedete oddělovač, pro určení\r\nsloupce se použije vždy dvojice párových uvozovek."},
      {IDC_AboutButton, L"Zobrazí pár informací o programu."},
  };
  // clang-format on
  for (const Hint& hint : hints) {
    MouseAway();
    EXPECT_EQ(HintOf(app.ProcessId(), app.Control(hint.id)), hint.text) << "control " << hint.id;
  }
  MouseAway();
}

TEST(MainFormLayout, AFieldTooNarrowForItsNumberShowsTheWholeTextAtItsCorner) {
  SipoApp app;
  ASSERT_NE(app.MainWindow(), nullptr);
  const std::wstring text = L"1234567897 1234567897 1234567897 1234567897";
  app.SetText(IDC_SingleEdit, text);
  MouseAway();
  RECT shown{};
  EXPECT_EQ(HintOf(app.ProcessId(), app.Control(IDC_SingleEdit), &shown), text);
  RECT field;
  GetWindowRect(app.Control(IDC_SingleEdit), &field);
  EXPECT_NEAR(shown.left, field.left, 2);
  EXPECT_NEAR(shown.top, field.top, 2);
  MouseAway();
}

}  // namespace
}  // namespace sipo::uitest
