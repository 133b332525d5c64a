-- Texts database of Tarvo Invorator (DB/Daten.mdb): messages, label translations,
-- languages, the client address, document types and status-bar texts.
-- One text column per language code; a new language adds its columns and a row in tblSprache.
PRAGMA encoding = 'UTF-8';
BEGIN TRANSACTION;

CREATE TABLE tblMeldungen (
    ID INTEGER PRIMARY KEY,
    DE TEXT,
    EN TEXT
);

CREATE TABLE tblLabelUebersetzung (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    FormularName TEXT NOT NULL,
    Feldname TEXT NOT NULL,
    DE TEXT, EN TEXT,
    ToolTipTextDE TEXT, ToolTipTextEN TEXT,
    ToolTipTitelDE TEXT, ToolTipTitelEN TEXT
);

CREATE TABLE tblLabelUebersetzungBar (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    FormularName TEXT NOT NULL,
    Feldname TEXT NOT NULL,
    POS INTEGER,
    DE TEXT, EN TEXT,
    ToolTipTextDE TEXT, ToolTipTextEN TEXT,
    ToolTipTitelDE TEXT, ToolTipTitelEN TEXT
);

CREATE TABLE tblLabelUebersetzungSSTab (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    FormularName TEXT NOT NULL,
    SSTab TEXT NOT NULL,
    TabIndex INTEGER,
    DE TEXT, EN TEXT,
    ToolTipTextDE TEXT, ToolTipTextEN TEXT,
    ToolTipTitelDE TEXT, ToolTipTitelEN TEXT
);

CREATE TABLE tblLabelUebersetzungListView (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    FormularName TEXT NOT NULL,
    ListView TEXT NOT NULL,
    Index1 INTEGER NOT NULL,
    DE TEXT, EN TEXT,
    Width TEXT
);

CREATE TABLE tblSprache (
    ID INTEGER PRIMARY KEY,
    Sprache TEXT NOT NULL
);

CREATE TABLE tblAdressen (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Name1 TEXT, Strasse TEXT, Land TEXT, PLZ TEXT, Ort TEXT, Sprache TEXT,
    EMail TEXT, Ansprechpartner TEXT, AnspEmail TEXT, AnspTelefon TEXT, Bemerkungen TEXT
);

CREATE TABLE tblDokumentenTypen (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    Wert TEXT NOT NULL,
    DE TEXT,
    EN TEXT
);

CREATE TABLE tblStatus (
    ID INTEGER PRIMARY KEY,
    DE TEXT,
    EN TEXT
);

INSERT INTO tblMeldungen (ID, DE, EN) VALUES
 (2,  'Die Mandantendaten konnten nicht gespeichert werden.', 'The client data could not be saved.'),
 (3,  'Die Mandantendaten wurden gespeichert.', 'The client data has been saved.'),
 (4,  'Die Mandantendaten konnten nicht geladen werden.', 'The client data could not be loaded.'),
 (5,  'Die Rechnung konnte nicht gelesen werden. Die Datei fehlt, ist beschädigt oder enthält kein gültiges XML.',
      'The invoice could not be read. The file is missing, damaged or does not contain valid XML.'),
 (9,  'Der Export-Pfad ist nicht vorhanden. Die Anlagen der Rechnung wurden nicht gespeichert.',
      'The export folder does not exist. The attachments of the invoice were not saved.'),
 (31, 'Möchten Sie die Supportanfrage jetzt senden?', 'Do you want to send the support request now?'),
 (36, 'Ihre Supportanfrage wurde gesendet. Vielen Dank!', 'Your support request has been sent. Thank you!'),
 (37, 'Die Einstellungen wurden gespeichert. Sprache und Schrift gelten ab dem nächsten Start.',
      'The settings have been saved. Language and font take effect at the next start.'),
 (38, 'Rechnung auswählen', 'Choose invoice'),
 (39, 'Export-Pfad auswählen', 'Choose export folder'),
 (40, 'Anlage für die Supportanfrage auswählen', 'Choose an attachment for the support request'),
 (41, 'Die Anlagen der Rechnung wurden im Export-Pfad gespeichert. Möchten Sie den Ordner öffnen?',
      'The attachments of the invoice were saved in the export folder. Do you want to open the folder?'),
 (42, 'Möchten Sie die Rechnung im Archiv speichern?', 'Do you want to store the invoice in the archive?'),
 (43, 'Rechnung und Positionen wurden archiviert. Dokument ', 'Invoice and lines have been archived. Document '),
 (45, 'Die Positionen der Rechnung konnten nicht archiviert werden.', 'The invoice lines could not be archived.'),
 (46, 'Abzüge und Zuschläge wurden archiviert.', 'Allowances and charges have been archived.'),
 (47, 'Abzüge und Zuschläge konnten nicht archiviert werden.', 'Allowances and charges could not be archived.'),
 (49, 'Die Archivdatenbank DB/Invoices.mdb wurde nicht gefunden.', 'The archive database DB/Invoices.mdb was not found.'),
 (50, 'Die Datei ist keine Rechnung der Art „%1“. Ihr Inhalt ist eine Rechnung der Art „%2“. Soll sie als %2 gelesen werden?',
      'The file is not an invoice of the kind "%1". Its content is an invoice of the kind "%2". Read it as %2?'),
 (51, 'Die Datei enthält keine Rechnung in einem bekannten Format (CII, UBL, Peppol oder ZUGFeRD).',
      'The file does not contain an invoice in a known format (CII, UBL, Peppol or ZUGFeRD).'),
 (52, 'Die Rechnung ist keine gewöhnliche Datei (sondern zum Beispiel ein Gerät oder eine Pipe) und wurde nicht gelesen.',
      'The invoice is not a regular file (but, for example, a device or a pipe) and was not read.'),
 (53, 'Die Rechnung ist zu groß, um eine Rechnung zu sein: höchstens 50 MB XML mit einer Million Tags werden gelesen.',
      'The invoice is too large to be an invoice: at most 50 MB of XML with one million tags are read.'),
 (54, 'Die Anlage „%1“ konnte nicht im Export-Pfad gespeichert werden.',
      'The attachment "%1" could not be saved in the export folder.');

INSERT INTO tblSprache (ID, Sprache) VALUES (1, 'DE'), (2, 'EN');

INSERT INTO tblStatus (ID, DE, EN) VALUES
 (1, 'Tarvo Invorator', 'Tarvo Invorator'),
 (2, 'Benutzer:', 'User:'),
 (3, 'Computer:', 'Computer:');

INSERT INTO tblAdressen (Name1, Strasse, Land, PLZ, Ort, Sprache, EMail, Ansprechpartner, AnspEmail, AnspTelefon, Bemerkungen)
VALUES ('Musterfirma GmbH', 'Hauptstraße 1', 'DE', '10115', 'Berlin', 'DE', 'buchhaltung@musterfirma.example',
        'Erika Mustermann', 'erika.mustermann@musterfirma.example', '+49 30 1234567', '');

-- UNTDID 1001 document types of the EN 16931 code list (invoice type code, BT-3).
INSERT INTO tblDokumentenTypen (Wert, DE, EN) VALUES
 ('71',  'Zahlungsaufforderung', 'Request for payment'),
 ('80',  'Lastschrift für Waren oder Dienstleistungen', 'Debit note related to goods or services'),
 ('81',  'Gutschrift für Waren oder Dienstleistungen', 'Credit note related to goods or services'),
 ('82',  'Rechnung über gemessene Leistungen', 'Metered services invoice'),
 ('83',  'Gutschrift für finanzielle Anpassungen', 'Credit note related to financial adjustments'),
 ('84',  'Belastungsanzeige für finanzielle Anpassungen', 'Debit note related to financial adjustments'),
 ('102', 'Steuerbescheid', 'Tax notification'),
 ('130', 'Rechnungsdatenblatt', 'Invoicing data sheet'),
 ('202', 'Direkte Zahlungsbewertung', 'Direct payment valuation'),
 ('203', 'Vorläufige Zahlungsbewertung', 'Provisional payment valuation'),
 ('204', 'Zahlungsbewertung', 'Payment valuation'),
 ('211', 'Abschlagsrechnung (Zwischenantrag auf Zahlung)', 'Interim application for payment'),
 ('218', 'Schlusszahlungsanforderung nach Fertigstellung', 'Final payment request based on completion of work'),
 ('219', 'Zahlungsanforderung für fertiggestellte Einheiten', 'Payment request for completed units'),
 ('261', 'Gutschrift im Gutschriftsverfahren', 'Self billed credit note'),
 ('262', 'Sammelgutschrift für Waren und Dienstleistungen', 'Consolidated credit note - goods and services'),
 ('295', 'Preisanpassungsrechnung', 'Price variation invoice'),
 ('296', 'Gutschrift für Preisanpassung', 'Credit note for price variation'),
 ('308', 'Delkredere-Gutschrift', 'Delcredere credit note'),
 ('325', 'Proformarechnung', 'Proforma invoice'),
 ('326', 'Teilrechnung', 'Partial invoice'),
 ('331', 'Handelsrechnung mit Packliste', 'Commercial invoice which includes a packing list'),
 ('380', 'Rechnung', 'Commercial invoice'),
 ('381', 'Gutschrift', 'Credit note'),
 ('382', 'Provisionsabrechnung', 'Commission note'),
 ('383', 'Belastungsanzeige', 'Debit note'),
 ('384', 'Rechnungskorrektur', 'Corrected invoice'),
 ('385', 'Sammelrechnung', 'Consolidated invoice'),
 ('386', 'Vorauszahlungsrechnung', 'Prepayment invoice'),
 ('387', 'Mietrechnung', 'Hire invoice'),
 ('388', 'Steuerrechnung', 'Tax invoice'),
 ('389', 'Selbst ausgestellte Rechnung (Gutschrift)', 'Self-billed invoice'),
 ('390', 'Delkredere-Rechnung', 'Delcredere invoice'),
 ('393', 'Factoring-Rechnung', 'Factored invoice'),
 ('394', 'Leasingrechnung', 'Lease invoice'),
 ('395', 'Konsignationsrechnung', 'Consignment invoice'),
 ('396', 'Factoring-Gutschrift', 'Factored credit note'),
 ('420', 'Gutschrift für OCR-Zahlung', 'Optical Character Reading (OCR) payment credit note'),
 ('456', 'Belastungsanzeige der Bank', 'Debit advice'),
 ('457', 'Storno einer Belastung', 'Reversal of debit'),
 ('458', 'Storno einer Gutschrift', 'Reversal of credit'),
 ('527', 'Belastungsanzeige im Gutschriftsverfahren', 'Self billed debit note'),
 ('532', 'Spediteursgutschrift', 'Forwarder''s credit note'),
 ('553', 'Abweichungsbericht zur Spediteursrechnung', 'Forwarder''s invoice discrepancy report'),
 ('575', 'Versicherungsrechnung', 'Insurer''s invoice'),
 ('623', 'Spediteursrechnung', 'Forwarder''s invoice'),
 ('633', 'Hafengebührenrechnung', 'Port charges documents'),
 ('751', 'Rechnungsinformationen für Buchhaltungszwecke', 'Invoice information for accounting purposes'),
 ('780', 'Frachtrechnung', 'Freight invoice'),
 ('817', 'Schadensmeldung', 'Claim notification'),
 ('870', 'Konsulatsfaktura', 'Consular invoice'),
 ('875', 'Teilrechnung für Bauleistungen', 'Partial construction invoice'),
 ('876', 'Teilschlussrechnung für Bauleistungen', 'Partial final construction invoice'),
 ('877', 'Schlussrechnung für Bauleistungen', 'Final construction invoice'),
 ('935', 'Zollrechnung', 'Customs invoice');

COMMIT;
