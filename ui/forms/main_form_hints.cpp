// main_form_hints.cpp - the hints of the main window's controls, Windows-1250.
#include "ui/forms/main_form_hints.h"

#include "ui/base/control_ids.h"

namespace sipo::ui {

// clang-format off
const std::array<ControlHint, 13> kMainFormHints = {{
    // Sem pište nebo vložte kontrolované číslo.\r\nStatus zobrazí výsledek kontroly.
    {IDC_SingleEdit,
     "Sem pi\x9Ate nebo vlo\x9Ete kontrolovan\xE9 \xE8\xEDslo.\r\nStatus zobraz\xED v\xFDsledek kontroly."},
    // Vyvolá malinké plovoucí okno, \r\nkteré bude reagovat na změny obsahu schránky a \r\nprůběžně kontrolovat cokoliv, co do schránky zkopírujete.
    {IDC_FloatingClipButton,
     "Vyvol\xE1 malink\xE9 plovouc\xED okno, \r\nkter\xE9 bude reagovat na zm\xECny obsahu schr\xE1nky a \r\npr\xF9" "b\xEC\x9En\xEC kontrolovat cokoliv, co do schr\xE1nky zkop\xEDrujete."},
    // Zkopíruje do tabulky seznam čísel,\r\nco řádek, to číslo a všechny je\r\nokamžitě prověří.
    {IDC_MultiImportButton,
     "Zkop\xEDruje do tabulky seznam \xE8\xEDsel,\r\nco \xF8\xE1" "dek, to \xE8\xEDslo a v\x9A" "echny je\r\nokam\x9Eit\xEC prov\xEC\xF8\xED."},
    // Zkopíruje obsah tabulky do schránky.\r\nPoužije formát s oddělovačem sloupců a\r\nuvozovkami.
    {IDC_MultiExportButton,
     "Zkop\xEDruje obsah tabulky do schr\xE1nky.\r\nPou\x9Eije form\xE1t s odd\xEClova\xE8" "em sloupc\xF9 a\r\nuvozovkami."},
    // Vstupní soubor ke kontrole.\r\nProgram na příkaz projede vstupní soubor a ověří platnost\r\nčísel SIPO v něm obsažených - roztřídí ho na platné a neplatné\r\nřádky. Soubor může obsahovat více sloupců oddělených \r\noddělovači, přičemž kontrolovat se může jen jeden.
    {IDC_FileInputEdit,
     "Vstupn\xED soubor ke kontrole.\r\nProgram na p\xF8\xEDkaz projede vstupn\xED soubor a ov\xEC\xF8\xED platnost\r\n\xE8\xEDsel SIPO v n\xECm obsa\x9E" "en\xFD" "ch - rozt\xF8\xED" "d\xED ho na platn\xE9 a neplatn\xE9\r\n\xF8\xE1" "dky. Soubor m\xF9\x9E" "e obsahovat v\xED" "ce sloupc\xF9 odd\xEClen\xFD" "ch \r\nodd\xEClova\xE8i, p\xF8i\xE8" "em\x9E kontrolovat se m\xF9\x9E" "e jen jeden."},
    // Výstupní soubor. Sem se umístí ty řádky, kde bude nalezeno platné číslo SIPO.\r\nSoubor bude vytvořen nebo přepsán. Pokud se to nepodaří, nastane chyba.
    {IDC_FileOKOutputEdit,
     "V\xFDstupn\xED soubor. Sem se um\xEDst\xED ty \xF8\xE1" "dky, kde bude nalezeno platn\xE9 \xE8\xEDslo SIPO.\r\nSoubor bude vytvo\xF8" "en nebo p\xF8" "eps\xE1n. Pokud se to nepoda\xF8\xED, nastane chyba."},
    // Výstupní soubor. Sem se umístí ty řádky, kde NEbude nalezeno platné číslo SIPO.\r\nSoubor bude vytvořen nebo přepsán. Pokud se to nepodaří, nastane chyba.
    {IDC_FileBadOutputEdit,
     "V\xFDstupn\xED soubor. Sem se um\xEDst\xED ty \xF8\xE1" "dky, kde NEbude nalezeno platn\xE9 \xE8\xEDslo SIPO.\r\nSoubor bude vytvo\xF8" "en nebo p\xF8" "eps\xE1n. Pokud se to nepoda\xF8\xED, nastane chyba."},
    // Pokud je vstupní soubor typu CSV, neboli více sloupců \r\noddělených oddělovacím znakem, udejte číslo sloupce,\r\nve kterém se nachází číslo SIPO ke kontrole.\r\nPOZOR ! První sloupec má číslo nula !
    {IDC_ColumnEdit,
     "Pokud je vstupn\xED soubor typu CSV, neboli v\xED" "ce sloupc\xF9 \r\nodd\xEClen\xFD" "ch odd\xEClovac\xEDm znakem, udejte \xE8\xEDslo sloupce,\r\nve kter\xE9m se nach\xE1z\xED \xE8\xEDslo SIPO ke kontrole.\r\nPOZOR ! Prvn\xED sloupec m\xE1 \xE8\xEDslo nula !"},
    // Pokud je vstupní soubor typu CSV, neboli více sloupců \r\noddělených oddělovacím znakem, udejte znak,\r\npoužívaný jako oddělovač. Typickým oddělovačem\r\nbývá středník.
    {IDC_DelimiterEdit,
     "Pokud je vstupn\xED soubor typu CSV, neboli v\xED" "ce sloupc\xF9 \r\nodd\xEClen\xFD" "ch odd\xEClovac\xEDm znakem, udejte znak,\r\npou\x9E\xEDvan\xFD jako odd\xEClova\xE8. Typick\xFDm odd\xEClova\xE8" "em\r\nb\xFDv\xE1 st\xF8" "edn\xEDk."},
    // Pokud má soubor pouze jeden sloupec, zašrtněte toto pole.
    {IDC_SingleColumnCheck,
     "Pokud m\xE1 soubor pouze jeden sloupec, za\x9Artn\xECte toto pole."},
    // Spustí zpracování vstupního souboru.\r\nVstupní soubor musí existovat.\r\nVýstupní soubory musí mít platné jméno a \r\nbudou vytvořeny nebo přepsány.
    {IDC_FileButton,
     "Spust\xED zpracov\xE1n\xED vstupn\xEDho souboru.\r\nVstupn\xED soubor mus\xED existovat.\r\nV\xFDstupn\xED soubory mus\xED m\xEDt platn\xE9 jm\xE9no a \r\nbudou vytvo\xF8" "eny nebo p\xF8" "eps\xE1ny."},
    // Pokud jsou hodnoty v jednotlivých sloupcích obestavěné závorkami\r\n(to bývá obvyklé), zaškrtněte toto pole.\r\nV takovém případě je jedno, jaký uvedete oddělovač, pro určení\r\nsloupce se použije vždy dvojice párových uvozovek.
    {IDC_SYLKCheck,
     "Pokud jsou hodnoty v jednotliv\xFD" "ch sloupc\xED" "ch obestav\xECn\xE9 z\xE1vorkami\r\n(to b\xFDv\xE1 obvykl\xE9), za\x9Akrtn\xECte toto pole.\r\nV takov\xE9m p\xF8\xEDpad\xEC je jedno, jak\xFD uvedete odd\xEClova\xE8, pro ur\xE8" "en\xED\r\nsloupce se pou\x9Eije v\x9E" "dy dvojice p\xE1rov\xFD" "ch uvozovek."},
    // Zobrazí pár informací o programu.
    {IDC_AboutButton,
     "Zobraz\xED p\xE1r informac\xED o programu."},
}};
// clang-format on

}  // namespace sipo::ui
