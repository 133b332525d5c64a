-- The invoice archive, DB/Invoices.mdb: a SQLite file. SQLite has no exact decimal type
-- and would turn NUMERIC amounts into doubles, so amounts are DECIMAL_TEXT: the exact
-- decimal as text. On a PostgreSQL server archive-init runs the same text with the
-- server's names for the types, and amounts are exact NUMERIC values there.
-- Tables are created only where missing, so the script can run on an existing archive.
-- Archives made by earlier versions keep REAL line numbers; a line value such a column
-- cannot hold exactly fails the save there.

CREATE TABLE IF NOT EXISTS tblInvoice (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    CreateDate DATETIME,
    CreateUser TEXT,
    ChangeDate DATETIME,
    ChangeUser TEXT,
    RoutingID TEXT,
    InvoiceNumber TEXT NOT NULL,
    Subject TEXT,
    InvoiceDate TEXT,
    PayableBy TEXT,
    InvoiceType TEXT,
    PaymentMethod TEXT,
    Remarks TEXT,
    SellerName TEXT,
    SellerTaxNumber TEXT,
    SellerRecipiedEMail TEXT,
    SellerStreet TEXT,
    SellerCountry TEXT,
    SellerZip TEXT,
    SellerCity TEXT,
    SellerContactPerson TEXT,
    SellerContactEmail TEXT,
    SellerContactPhone TEXT,
    BuyerName TEXT,
    BuyerTaxNumber TEXT,
    BuyerRecipiedEMail TEXT,
    BuyerStreet TEXT,
    BuyerCountry TEXT,
    BuyerZip TEXT,
    BuyerCity TEXT,
    BuyerContactPerson TEXT,
    BuyerContactEmail TEXT,
    BuyerContactPhone TEXT,
    SumOfNet DECIMAL_TEXT,
    TaxAmountWithVAT DECIMAL_TEXT,
    TotalAmountWithoutVAT DECIMAL_TEXT,
    Dicounts DECIMAL_TEXT,
    Sucharges DECIMAL_TEXT,
    Prepayment DECIMAL_TEXT,
    RoundingAmount DECIMAL_TEXT,
    PaymentDue DECIMAL_TEXT,
    CustomizationID TEXT,
    ProfileID TEXT,
    AccountingCost TEXT,
    CurrencyCode TEXT,
    -- Added with schema version 2 (archive-init and the first open add them to older archives).
    -- The seller as the invoice's identity with its number: the VAT identifier, else the
    -- tax number, else the name, as shown.
    SellerKey TEXT,
    -- The stored file this version was read from (tblDocuments.ID).
    DocumentID INTEGER,
    -- Set when a later save replaced this version; NULL on the latest one.
    ReplacedDate DATETIME,
    ReplacedUser TEXT,
    -- What a bookkeeper looks for, exactly as the XML gives it.
    VatTotal DECIMAL_TEXT,
    AmountDue DECIMAL_TEXT,
    Currency TEXT,
    SellerVatID TEXT,
    BuyerVatID TEXT,
    IBAN TEXT,
    DueDate TEXT,
    DocumentTypeCode TEXT,
    -- 'agree', 'warnings' or 'wrong' (the check of sums); 'valid', 'warnings' or 'invalid'
    -- (the validation; NULL when not validated).
    SumsCheck TEXT,
    Validation TEXT,
    FileSha256 TEXT
);
CREATE INDEX IF NOT EXISTS idxInvoice_InvoiceNumber ON tblInvoice (InvoiceNumber);

CREATE TABLE IF NOT EXISTS tblInvoice_Items (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    InvoiceNumber TEXT NOT NULL,
    InvoiceID INTEGER, -- schema version 2: the version of the invoice (tblInvoice.ID)
    Pos SMALLINT,
    LineID TEXT,
    ItemName TEXT,
    Description TEXT,
    Quantity DECIMAL_TEXT,
    Net DECIMAL_TEXT,
    Gross DECIMAL_TEXT,
    VAT DECIMAL_TEXT,
    TotalGross DECIMAL_TEXT,
    TotalNet DECIMAL_TEXT
);
CREATE INDEX IF NOT EXISTS idxInvoice_Items_InvoiceNumber ON tblInvoice_Items (InvoiceNumber);

CREATE TABLE IF NOT EXISTS tblInvoice_Deduction (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    InvoiceNumber TEXT NOT NULL,
    InvoiceID INTEGER, -- schema version 2
    Code TEXT,
    reason TEXT,
    Factor TEXT,
    Amount DECIMAL_TEXT,
    BasicAmount DECIMAL_TEXT
);
CREATE INDEX IF NOT EXISTS idxInvoice_Deduction_InvoiceNumber ON tblInvoice_Deduction (InvoiceNumber);

CREATE TABLE IF NOT EXISTS tblDocuments (
    ID INTEGER PRIMARY KEY AUTOINCREMENT,
    DocType TEXT,
    InvoiceNumber TEXT NOT NULL,
    BinaryFile BLOB,
    FileName TEXT,
    FileType TEXT,
    FileSize INTEGER,
    -- Schema version 2: each distinct content is stored once, found by its SHA-256 (hex).
    Sha256 TEXT,
    ImportDate DATETIME
);
CREATE INDEX IF NOT EXISTS idxDocuments_InvoiceNumber ON tblDocuments (InvoiceNumber);

-- The archive's schema version (Name 'SchemaVersion'), for upgrades in place.
CREATE TABLE IF NOT EXISTS tblArchiveInfo (
    Name TEXT PRIMARY KEY,
    Value TEXT
);
