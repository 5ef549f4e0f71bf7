// about_texts.cpp - the About window's information text, licence and notice.
#include "ui/forms/about_texts.h"

namespace sipo::ui {

// Windows-1250 bytes; each piece's readable text stands beside it. \r\n is a line break.
// clang-format off
const char* const kAboutInfoText =
    "Program slou\x9E\xED k ov\xEC\xF8" "en\xED platnosti \xE8\xEDsel "  // Program slouží k ověření platnosti čísel
    "\xFA\xE8t\xF9 SIPO. Ov\xEC\xF8" "en\xED se prov\xE1" "d\xED dle ofici\xE1ln\xEC "  // účtů SIPO. Ověření se provádí dle oficiálně
    "zv\xEC\xF8" "ejn\xECn\xE9ho algoritmu. Pokud o n\xECj m\xE1te "  // zvěřejněného algoritmu. Pokud o něj máte
    "z\xE1jem a nepoda\xF8ilo se v\xE1m ho nikde nal\xE9zt, "  // zájem a nepodařilo se vám ho nikde nalézt,
    "napi\x9Ate n\xE1m o n\xECj (spolu s d\xECkovn\xFDm dopisem "  // napište nám o něj (spolu s děkovným dopisem
    " :-) ) a my v\xE1m po\x9Aleme kompletn\xED "  //  :-) ) a my vám pošleme kompletní
    "specifikaci.\r\nProgram "  // specifikaci.\r\nProgram
    "neslou\x9E\xED k potvrzen\xED existence SIPO \xFA\xE8tu. "  // neslouží k potvrzení existence SIPO účtu.
    "Jen ov\xEC\xF8uje technickou spr\xE1vnost \xE8\xEDsla.";  // Jen ověřuje technickou správnost čísla.

const char* const kAboutLicenceText =
    "LICEN\xC8N\xCD UJEDN\xC1N\xCD\r\n\r\nProgram "  // LICENČNÍ UJEDNÁNÍ\r\n\r\nProgram
    "Tamrix SIPO je d\xEDlem spole\xE8nosti Tamrix, "  // Tamrix SIPO je dílem společnosti Tamrix,
    "kter\xE1 k n\xECmu vykon\xE1v\xE1 v\x9A" "echna autorsk\xE1 "  // která k němu vykonává všechna autorská
    "pr\xE1va.\r\n\r\nProgram "  // práva.\r\n\r\nProgram
    "sm\xEDte bezplatn\xEC pou\x9E\xEDvat, a to doma i ve "  // smíte bezplatně používat, a to doma i ve
    "firm\xEC, na libovoln\xE9m po\xE8tu po\xE8\xEDta\xE8\xF9. Sm\xEDte "  // firmě, na libovolném počtu počítačů. Smíte
    "ho tak\xE9 \x9A\xED\xF8it d\xE1l, ale jen v nezm\xECn\xECn\xE9 "  // ho také šířit dál, ale jen v nezměněné
    "podob\xEC, cel\xFD a bez \xFAplaty.\r\n\r\nProgram "  // podobě, celý a bez úplaty.\r\n\r\nProgram
    "nesm\xEDte upravovat, zp\xECtn\xEC p\xF8" "ekl\xE1" "dat ani "  // nesmíte upravovat, zpětně překládat ani
    "prod\xE1vat, ani ho vyd\xE1vat za sv\xE9 "  // prodávat, ani ho vydávat za své
    "d\xEDlo.\r\n\r\nProgram "  // dílo.\r\n\r\nProgram
    "ov\xEC\xF8uje pouze technickou spr\xE1vnost \xE8\xEDsla "  // ověřuje pouze technickou správnost čísla
    "SIPO podle kontroln\xED \xE8\xEDslice. Nepotvrzuje, "  // SIPO podle kontrolní číslice. Nepotvrzuje,
    "\x9E" "e \xE8\xEDslo bylo skute\xE8n\xEC p\xF8id\xECleno nebo \x9E" "e "  // že číslo bylo skutečně přiděleno nebo že
    "\xFA\xE8" "et existuje.\r\n\r\nProgram "  // účet existuje.\r\n\r\nProgram
    "se poskytuje tak, jak je, bez jak\xE9koli "  // se poskytuje tak, jak je, bez jakékoli
    "z\xE1ruky. Spole\xE8nost Tamrix neodpov\xED" "d\xE1 za "  // záruky. Společnost Tamrix neodpovídá za
    "\x9E\xE1" "dn\xE9 \x9Akody, kter\xE9 by jeho pou\x9E\xEDv\xE1n\xEDm nebo "  // žádné škody, které by jeho používáním nebo
    "nemo\x9Enost\xED ho pou\x9E\xEDvat vznikly, ani za "  // nemožností ho používat vznikly, ani za
    "ztr\xE1tu dat \xE8i u\x9Al\xFD zisk.\r\n\r\nPou\x9E\xEDv\xE1n\xEDm "  // ztrátu dat či ušlý zisk.\r\n\r\nPoužíváním
    "programu s t\xECmito podm\xEDnkami souhlas\xEDte. "  // programu s těmito podmínkami souhlasíte.
    "Pokud s nimi nesouhlas\xEDte, program "  // Pokud s nimi nesouhlasíte, program
    "nepou\x9E\xEDvejte a sma\x9Ete ho.";  // nepoužívejte a smažte ho.

const char* const kAboutNoticeText =
    "Program neobsahuje \x9E\xE1" "dn\xE9 \x9Apion\xE1\x9En\xED ani "  // Program neobsahuje žádné špionážní ani
    "reklamn\xED funkce. Na webov\xE9 str\xE1nky "  // reklamní funkce. Na webové stránky
    "spole\xE8nosti Tamrix v\xE1s zavede jen kliknut\xED "  // společnosti Tamrix vás zavede jen kliknutí
    "na logo firmy. P\xF8i spu\x9At\xECn\xED se program "  // na logo firmy. Při spuštění se program
    "pokus\xED otev\xF8" "en\xEDm malink\xE9ho souboru zanechat "  // pokusí otevřením malinkého souboru zanechat
    "z\xE1znam v protokolu webov\xE9ho serveru "  // záznam v protokolu webového serveru
    "spole\xE8nosti Tamrix. Krom\xEC va\x9A\xED IP adresy se "  // společnosti Tamrix. Kromě vaší IP adresy se
    "p\xF8itom neodes\xEDlaj\xED \x9E\xE1" "dn\xE9 \xFA" "daje.\r\n(Auto\xF8i "  // přitom neodesílají žádné údaje.\r\n(Autoři
    "se tak mohou t\xEC\x9Ait z toho, \x9E" "e jejich "  // se tak mohou těšit z toho, že jejich
    "progr\xE1mek n\xECkde slou\x9E\xED.)\r\nPokud "  // prográmek někde slouží.)\r\nPokud
    "n\xE1s chcete odm\xECnit, pod\xEDvejte se na slu\x9E" "by "  // nás chcete odměnit, podívejte se na služby
    "spole\xE8nosti Tamrix nebo n\xE1m po\x9Alete d\xECkovn\xFD "  // společnosti Tamrix nebo nám pošlete děkovný
    "e-mail :-)";  // e-mail :-)
// clang-format on

}  // namespace sipo::ui
