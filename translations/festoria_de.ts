<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CreateInvitation</name>
    <message>
        <source>The driving directions are too long to fit on the invitation; shorten them and create it again.</source>
        <translation>Die Wegbeschreibung ist zu lang für die Einladung; kürzen Sie sie und erstellen Sie die Einladung erneut.</translation>
    </message>
    <message>
        <source>The list of what to bring is too long to fit on the invitation; shorten it and create it again.</source>
        <translation>Die Liste der mitzubringenden Dinge ist zu lang für die Einladung; kürzen Sie sie und erstellen Sie die Einladung erneut.</translation>
    </message>
    <message>
        <source>The location is too long to fit on the invitation; shorten it and create it again.</source>
        <translation>Der Ort ist zu lang für die Einladung; kürzen Sie ihn und erstellen Sie die Einladung erneut.</translation>
    </message>
    <message>
        <source>The RSVP details are too long to fit on the invitation; shorten them and create it again.</source>
        <translation>Die Angaben für die Antwort sind zu lang für die Einladung; kürzen Sie sie und erstellen Sie die Einladung erneut.</translation>
    </message>
    <message>
        <source>The name of the event is too long to fit on the invitation; shorten it and create it again.</source>
        <translation>Der Name der Feier ist zu lang für die Einladung; kürzen Sie ihn und erstellen Sie die Einladung erneut.</translation>
    </message>
    <message>
        <source>Name of Event</source>
        <translation>Name der Feier</translation>
    </message>
    <message>
        <source>Event Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>What To Bring</source>
        <translation>Mitzubringen</translation>
    </message>
    <message>
        <source>Driving Directions</source>
        <translation>Anfahrt</translation>
    </message>
    <message>
        <source>RSVP To</source>
        <translation>Antwort an</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Word Files (*.doc)</source>
        <translation>Word-Dateien (*.doc)</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>PDF-Dateien (*.pdf)</translation>
    </message>
    <message>
        <source>Word 2007-365 Files (*.docx)</source>
        <translation>Word-2007-365-Dateien (*.docx)</translation>
    </message>
    <message>
        <source>OpenDocument Text Files (*.odt)</source>
        <translation>OpenDocument-Textdateien (*.odt)</translation>
    </message>
    <message>
        <source>PNG Image (*.png)</source>
        <translation>PNG-Bild (*.png)</translation>
    </message>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>JPEG-Bild (*.jpg)</translation>
    </message>
    <message>
        <source>Calendar Event (*.ics)</source>
        <translation>Kalendertermin (*.ics)</translation>
    </message>
</context>
<context>
    <name>FontCoverage</name>
    <message>
        <source>No installed font can draw %1 in &apos;%2&apos;.</source>
        <translation>Keine installierte Schrift kann %1 in „%2“ darstellen.</translation>
    </message>
    <message>
        <source>They will show as empty boxes. Install fonts-noto-core, fonts-noto-cjk, fonts-noto-extra or another font that has them, or type other characters.</source>
        <translation>Diese Zeichen erscheinen als leere Kästchen. Installieren Sie fonts-noto-core, fonts-noto-cjk, fonts-noto-extra oder eine andere Schrift, die sie enthält, oder geben Sie andere Zeichen ein.</translation>
    </message>
</context>
<context>
    <name>MailComposer</name>
    <message>
        <source>xdg-email stopped unexpectedly</source>
        <translation>xdg-email wurde unerwartet beendet</translation>
    </message>
    <message>
        <source>none is set up</source>
        <translation>es ist keines eingerichtet</translation>
    </message>
    <message>
        <source>xdg-email failed with exit code %1</source>
        <translation>xdg-email ist mit dem Rückgabewert %1 gescheitert</translation>
    </message>
    <message>
        <source>xdg-email (from xdg-utils) could not be started</source>
        <translation>xdg-email (aus xdg-utils) konnte nicht gestartet werden</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Start Creating Template</source>
        <translation>Einladung erstellen</translation>
    </message>
    <message>
        <source>Clear/Reset Data</source>
        <translation>Eingaben löschen</translation>
    </message>
    <message>
        <source>Load Sample/Example Data</source>
        <translation>Beispieldaten laden</translation>
    </message>
    <message>
        <source>Event details</source>
        <translation>Angaben zur Feier</translation>
    </message>
    <message>
        <source>Event Date:</source>
        <translation>Datum:</translation>
    </message>
    <message>
        <source>Event Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>%1:</source>
        <comment>a field&apos;s label</comment>
        <translation>%1:</translation>
    </message>
    <message>
        <source>The event details cannot be stored, so they will not be there the next time Festoria starts. Check that this file can be written and that the disk is not full:

%1</source>
        <translation>Die Angaben zur Feier können nicht gespeichert werden und fehlen daher beim nächsten Start von Festoria. Prüfen Sie, ob diese Datei beschreibbar und der Datenträger nicht voll ist:

%1</translation>
    </message>
    <message>
        <source>The stored event details could not all be read. Every detail that could be read was kept, and the old settings file was moved to:

%1</source>
        <translation>Die gespeicherten Angaben zur Feier konnten nicht alle gelesen werden. Alles Lesbare wurde übernommen; die alte Einstellungsdatei wurde verschoben nach:

%1</translation>
    </message>
    <message>
        <source>Details cleared.</source>
        <translation>Angaben gelöscht.</translation>
    </message>
    <message>
        <source>Sample details loaded.</source>
        <translation>Beispielangaben geladen.</translation>
    </message>
    <message>
        <source>Undo (Ctrl+Z)</source>
        <translation>Rückgängig</translation>
    </message>
</context>
<context>
    <name>OfficeCheck</name>
    <message>
        <source>Error 842001. A normal instance of LibreOffice Writer could not be started.</source>
        <translation>Fehler 842001. LibreOffice Writer konnte nicht gestartet werden.</translation>
    </message>
    <message>
        <source>1. Please make sure LibreOffice Writer is installed on this computer: on Debian the package libreoffice-writer (or libreoffice-writer-nogui), for example with &quot;sudo apt install libreoffice-writer&quot;.</source>
        <translation>1. Bitte stellen Sie sicher, dass LibreOffice Writer auf diesem Computer installiert ist: unter Debian das Paket libreoffice-writer (oder libreoffice-writer-nogui), zum Beispiel mit „sudo apt install libreoffice-writer“.</translation>
    </message>
    <message>
        <source>2. Please make sure the office starts: in a terminal, &quot;soffice --headless --version&quot; must print the LibreOffice version at once, without any error message.</source>
        <translation>2. Bitte stellen Sie sicher, dass LibreOffice startet: In einem Terminal muss „soffice --headless --version“ sofort die Version von LibreOffice ausgeben, ohne jede Fehlermeldung.</translation>
    </message>
    <message>
        <source>3. Please make sure the command soffice is found on the PATH, and that the folder ~/.cache in your home folder can be written (the office keeps its private settings there).</source>
        <translation>3. Bitte stellen Sie sicher, dass der Befehl soffice über PATH gefunden wird und dass der Ordner ~/.cache in Ihrem persönlichen Ordner beschreibbar ist (LibreOffice legt dort seine eigenen Einstellungen für dieses Programm ab).</translation>
    </message>
    <message>
        <source>4. LibreOffice 7 and later are supported; the program runs its own hidden copy of the office and never changes your own LibreOffice settings.</source>
        <translation>4. Unterstützt wird LibreOffice ab Version 7; das Programm startet eine eigene, unsichtbare Instanz und ändert nie Ihre eigenen Einstellungen von LibreOffice.</translation>
    </message>
</context>
<context>
    <name>PreviewCommands</name>
    <message>
        <source>Done.</source>
        <translation>Fertig.</translation>
    </message>
    <message>
        <source>No mail program could be opened: %1.

The invitation is saved as
%2
Attach it to a message yourself; it is kept there for a week.</source>
        <translation>Es konnte kein E-Mail-Programm geöffnet werden: %1.

Die Einladung ist gespeichert als
%2
Hängen Sie sie selbst an eine Nachricht an; sie bleibt dort eine Woche lang.</translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation>Möchten Sie %1 wirklich überschreiben?</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Datei speichern</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Zoom:</source>
        <translation>Zoom:</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Vergrößern</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Verkleinern</translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation>&lt; Zurück</translation>
    </message>
    <message>
        <source>Save Results To Word File</source>
        <translation>Als Word-Datei speichern</translation>
    </message>
    <message>
        <source>Invitation preview</source>
        <translation>Vorschau der Einladung</translation>
    </message>
    <message>
        <source>Invitation picture</source>
        <translation>Bild der Einladung</translation>
    </message>
    <message>
        <source>Scroll sideways</source>
        <translation>Seitwärts rollen</translation>
    </message>
    <message>
        <source>Scroll up and down</source>
        <translation>Auf und ab rollen</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Speichern unter...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message>
        <source>Send by Email...</source>
        <translation>Per E-Mail senden...</translation>
    </message>
    <message>
        <source>Copy Picture</source>
        <translation>Bild kopieren</translation>
    </message>
    <message>
        <source>Right-click or press Shift+F10 for the picture&apos;s menu: Save As, Print, Send by Email, Copy Picture</source>
        <translation>Rechtsklick oder Umschalt+F10 öffnet das Menü des Bildes: Speichern unter, Drucken, Per E-Mail senden, Bild kopieren</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The office is working…</source>
        <translation>Das Office-Programm arbeitet …</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>Die Datei %1 ist schreibgeschützt.
Bitte wählen Sie einen anderen Dateinamen.</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 ist ein Verzeichnis.
Bitte wählen Sie einen anderen Dateinamen.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>Die Datei %1 existiert bereits.
Soll sie überschrieben werden?</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>unerwartetes Argument „%1“</translation>
    </message>
    <message>
        <source>Try &apos;festoria --help&apos; for more information.</source>
        <translation>„festoria --help“ zeigt weitere Informationen.</translation>
    </message>
    <message>
        <source>Turns party details into a finished invitation: a Word document filled through LibreOffice, previewed, saved as .doc, .pdf, .docx or .odt, added to a calendar as an .ics event, printed, and sent by email with its calendar event.</source>
        <translation>Macht aus den Angaben zu einer Feier eine fertige Einladung: ein Word-Dokument, über LibreOffice ausgefüllt, in der Vorschau gezeigt, als .doc, .pdf, .docx oder .odt gespeichert, als .ics-Termin in einen Kalender übernommen, gedruckt und mit seinem Kalendertermin per E-Mail verschickt.</translation>
    </message>
</context>
</TS>
