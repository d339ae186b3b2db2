<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>CreateInvitation</name>
    <message>
        <source>The driving directions are too long to fit on the invitation; shorten them and create it again.</source>
        <translation>L’itinéraire est trop long pour tenir sur l’invitation&#xa0;; raccourcissez-le et créez-la de nouveau.</translation>
    </message>
    <message>
        <source>The list of what to bring is too long to fit on the invitation; shorten it and create it again.</source>
        <translation>La liste des choses à apporter est trop longue pour tenir sur l’invitation&#xa0;; raccourcissez-la et créez l’invitation de nouveau.</translation>
    </message>
    <message>
        <source>The location is too long to fit on the invitation; shorten it and create it again.</source>
        <translation>Le lieu est trop long pour tenir sur l’invitation&#xa0;; raccourcissez-le et créez-la de nouveau.</translation>
    </message>
    <message>
        <source>The RSVP details are too long to fit on the invitation; shorten them and create it again.</source>
        <translation>Les coordonnées pour la réponse sont trop longues pour tenir sur l’invitation&#xa0;; raccourcissez-les et créez-la de nouveau.</translation>
    </message>
    <message>
        <source>The name of the event is too long to fit on the invitation; shorten it and create it again.</source>
        <translation>Le nom de l’événement est trop long pour tenir sur l’invitation&#xa0;; raccourcissez-le et créez-la de nouveau.</translation>
    </message>
    <message>
        <source>Name of Event</source>
        <translation>Événement</translation>
    </message>
    <message>
        <source>Event Location</source>
        <translation>Lieu</translation>
    </message>
    <message>
        <source>What To Bring</source>
        <translation>À apporter</translation>
    </message>
    <message>
        <source>Driving Directions</source>
        <translation>Itinéraire</translation>
    </message>
    <message>
        <source>RSVP To</source>
        <translation>Réponse à</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>Word Files (*.doc)</source>
        <translation>Fichiers Word (*.doc)</translation>
    </message>
    <message>
        <source>PDF Files (*.pdf)</source>
        <translation>Fichiers PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Word 2007-365 Files (*.docx)</source>
        <translation>Fichiers Word 2007-365 (*.docx)</translation>
    </message>
    <message>
        <source>OpenDocument Text Files (*.odt)</source>
        <translation>Fichiers texte OpenDocument (*.odt)</translation>
    </message>
    <message>
        <source>PNG Image (*.png)</source>
        <translation>Image PNG (*.png)</translation>
    </message>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>Image JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>Calendar Event (*.ics)</source>
        <translation>Événement de calendrier (*.ics)</translation>
    </message>
</context>
<context>
    <name>FontCoverage</name>
    <message>
        <source>No installed font can draw %1 in &apos;%2&apos;.</source>
        <translation>Aucune police installée ne peut afficher %1 dans «&#xa0;%2&#xa0;».</translation>
    </message>
    <message>
        <source>They will show as empty boxes. Install fonts-noto-core, fonts-noto-cjk, fonts-noto-extra or another font that has them, or type other characters.</source>
        <translation>Ces caractères s’afficheront comme des cases vides. Installez fonts-noto-core, fonts-noto-cjk, fonts-noto-extra ou une autre police qui les contient, ou saisissez d’autres caractères.</translation>
    </message>
</context>
<context>
    <name>MailComposer</name>
    <message>
        <source>xdg-email stopped unexpectedly</source>
        <translation>xdg-email s’est arrêté de façon inattendue</translation>
    </message>
    <message>
        <source>none is set up</source>
        <translation>aucun n’est configuré</translation>
    </message>
    <message>
        <source>xdg-email failed with exit code %1</source>
        <translation>xdg-email a échoué avec le code de sortie %1</translation>
    </message>
    <message>
        <source>xdg-email (from xdg-utils) could not be started</source>
        <translation>xdg-email (de xdg-utils) n’a pas pu être lancé</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Start Creating Template</source>
        <translation>Créer l’invitation</translation>
    </message>
    <message>
        <source>Clear/Reset Data</source>
        <translation>Effacer les données</translation>
    </message>
    <message>
        <source>Load Sample/Example Data</source>
        <translation>Charger un exemple</translation>
    </message>
    <message>
        <source>Event details</source>
        <translation>Détails de l’événement</translation>
    </message>
    <message>
        <source>Event Date:</source>
        <translation>Date&#xa0;:</translation>
    </message>
    <message>
        <source>Event Time:</source>
        <translation>Heure&#xa0;:</translation>
    </message>
    <message>
        <source>%1:</source>
        <comment>a field&apos;s label</comment>
        <translation>%1&#xa0;:</translation>
    </message>
    <message>
        <source>The event details cannot be stored, so they will not be there the next time Festoria starts. Check that this file can be written and that the disk is not full:

%1</source>
        <translation>Les détails de l’événement ne peuvent pas être enregistrés ; ils ne seront donc pas là au prochain démarrage de Festoria. Vérifiez que ce fichier est modifiable et que le disque n’est pas plein :

%1</translation>
    </message>
    <message>
        <source>The stored event details could not all be read. Every detail that could be read was kept, and the old settings file was moved to:

%1</source>
        <translation>Les détails enregistrés de l’événement n’ont pas tous pu être lus. Tout ce qui était lisible a été conservé, et l’ancien fichier de réglages a été déplacé vers :

%1</translation>
    </message>
    <message>
        <source>Details cleared.</source>
        <translation>Détails effacés.</translation>
    </message>
    <message>
        <source>Sample details loaded.</source>
        <translation>Détails d'exemple chargés.</translation>
    </message>
    <message>
        <source>Undo (Ctrl+Z)</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>OfficeCheck</name>
    <message>
        <source>Error 842001. A normal instance of LibreOffice Writer could not be started.</source>
        <translation>Erreur 842001. LibreOffice Writer n’a pas pu être démarré.</translation>
    </message>
    <message>
        <source>1. Please make sure LibreOffice Writer is installed on this computer: on Debian the package libreoffice-writer (or libreoffice-writer-nogui), for example with &quot;sudo apt install libreoffice-writer&quot;.</source>
        <translation>1. Vérifiez que LibreOffice Writer est installé sur cet ordinateur&#xa0;: sous Debian, le paquet libreoffice-writer (ou libreoffice-writer-nogui), par exemple avec «&#xa0;sudo apt install libreoffice-writer&#xa0;».</translation>
    </message>
    <message>
        <source>2. Please make sure the office starts: in a terminal, &quot;soffice --headless --version&quot; must print the LibreOffice version at once, without any error message.</source>
        <translation>2. Vérifiez que LibreOffice démarre&#xa0;: dans un terminal, «&#xa0;soffice --headless --version&#xa0;» doit afficher aussitôt la version de LibreOffice, sans aucun message d’erreur.</translation>
    </message>
    <message>
        <source>3. Please make sure the command soffice is found on the PATH, and that the folder ~/.cache in your home folder can be written (the office keeps its private settings there).</source>
        <translation>3. Vérifiez que la commande soffice se trouve dans le PATH et que le dossier ~/.cache de votre dossier personnel est accessible en écriture (LibreOffice y garde ses réglages propres à ce programme).</translation>
    </message>
    <message>
        <source>4. LibreOffice 7 and later are supported; the program runs its own hidden copy of the office and never changes your own LibreOffice settings.</source>
        <translation>4. LibreOffice 7 et les versions suivantes sont pris en charge&#xa0;; le programme lance sa propre instance cachée et ne modifie jamais vos propres réglages de LibreOffice.</translation>
    </message>
</context>
<context>
    <name>PreviewCommands</name>
    <message>
        <source>Done.</source>
        <translation>Terminé.</translation>
    </message>
    <message>
        <source>No mail program could be opened: %1.

The invitation is saved as
%2
Attach it to a message yourself; it is kept there for a week.</source>
        <translation>Aucun programme de courriel n’a pu être ouvert&#xa0;: %1.

L’invitation est enregistrée sous
%2
Joignez-la vous-même à un message&#xa0;; elle y reste une semaine.</translation>
    </message>
    <message>
        <source>Are you sure you wish to overwrite %1 ?</source>
        <translation>Voulez-vous vraiment remplacer %1&#xa0;?</translation>
    </message>
    <message>
        <source>Save File</source>
        <translation>Enregistrer le fichier</translation>
    </message>
</context>
<context>
    <name>PreviewWindow</name>
    <message>
        <source>Zoom:</source>
        <translation>Zoom&#xa0;:</translation>
    </message>
    <message>
        <source>Zoom In</source>
        <translation>Agrandir</translation>
    </message>
    <message>
        <source>Zoom Out</source>
        <translation>Réduire</translation>
    </message>
    <message>
        <source>&lt; Back</source>
        <translation>&lt; Retour</translation>
    </message>
    <message>
        <source>Save Results To Word File</source>
        <translation>Enregistrer en fichier Word</translation>
    </message>
    <message>
        <source>Invitation preview</source>
        <translation>Aperçu de l’invitation</translation>
    </message>
    <message>
        <source>Invitation picture</source>
        <translation>Image de l’invitation</translation>
    </message>
    <message>
        <source>Scroll sideways</source>
        <translation>Défiler horizontalement</translation>
    </message>
    <message>
        <source>Scroll up and down</source>
        <translation>Défiler verticalement</translation>
    </message>
    <message>
        <source>Save As...</source>
        <translation>Enregistrer sous...</translation>
    </message>
    <message>
        <source>Print...</source>
        <translation>Imprimer...</translation>
    </message>
    <message>
        <source>Send by Email...</source>
        <translation>Envoyer par courriel...</translation>
    </message>
    <message>
        <source>Copy Picture</source>
        <translation>Copier l’image</translation>
    </message>
    <message>
        <source>Right-click or press Shift+F10 for the picture&apos;s menu: Save As, Print, Send by Email, Copy Picture</source>
        <translation>Clic droit ou Maj+F10 pour le menu de l’image : Enregistrer sous, Imprimer, Envoyer par courriel, Copier l’image</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>The office is working…</source>
        <translation>La suite bureautique travaille…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>Impossible d&apos;écrire dans le fichier %1.
Veuillez choisir un nom de fichier différent.</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 est un dossier.
Veuillez choisir un nom de fichier différent.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>%1 existe.
Voulez-vous l&apos;écraser&#xa0;?</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>unexpected argument &apos;%1&apos;</source>
        <translation>argument inattendu «&#xa0;%1&#xa0;»</translation>
    </message>
    <message>
        <source>Try &apos;festoria --help&apos; for more information.</source>
        <translation>Essayez «&#xa0;festoria --help&#xa0;» pour plus d’informations.</translation>
    </message>
    <message>
        <source>Turns party details into a finished invitation: a Word document filled through LibreOffice, previewed, saved as .doc, .pdf, .docx or .odt, added to a calendar as an .ics event, printed, and sent by email with its calendar event.</source>
        <translation>Transforme les détails d’une fête en invitation terminée : un document Word rempli par LibreOffice, prévisualisé, enregistré en .doc, .pdf, .docx ou .odt, ajouté à un calendrier comme événement .ics, imprimé et envoyé par courriel avec son événement de calendrier.</translation>
    </message>
</context>
</TS>
