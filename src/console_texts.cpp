#include "console_texts.h"

namespace pelkwardt {

// Each box line is 55 bytes: "**", 51 bytes of content, "**".
void PrintBanner(Platform& platform) {
  platform.WriteOutput(
      "\n"
      "*******************************************************\n"
      "** (c) VELMORA                                       **\n"
      "** Projekt     : QUARDELIN                           **\n"
      "** Tool        : RUNDHAMMER                          **\n"
      "** Beschreibung: Pruefrn des freien Restspeicherplatz**\n"
      "**               der Festplatte und umbenennen bzw   **\n"
      "**               loeschen der Log-Dateien            **\n"
      "**                                                   **\n"
      "*******************************************************\n"
      "\n");
}

void PrintUsage(Platform& platform) {
  platform.WriteOutput(
      "Befehlsformat: \n"
      "PELKWARDT.EXE Logdateiname Max-Anzahl Max-Groesse Min-Restgroesse Debug\n"
      "\n"
      "Beispiel:\n"
      "PELKWARDT.EXE ..\\..\\quardelin_php\\log\\Vorbank.LOG 5 2 10%\n"
      "Logdateiname    Name der Logdatei mit Path\n"
      "Max-Anzahl      Maximale Anzahl der umbenannten Logdateien\n"
      "Max-Groesse     Maximale groesse in MB wann eine Logdatei umbenannt wird\n"
      "Min-Restgroesse Minimal erforderlicher Restspeicher auf der Festplatte in MB\n"
      "                (Durch anstellen des %-Zeichens erfolgt die Angabe in Prozent)\n");
}

}  // namespace pelkwardt
