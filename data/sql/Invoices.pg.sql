-- The invoice archive on a PostgreSQL server (invorator-cli archive-init). Amounts are
-- exact NUMERIC values.
-- Tables are created only where missing, so the script can run on an existing archive.

CREATE TABLE IF NOT EXISTS tblInvoice (
    ID BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    CreateDate TIMESTAMP,
    CreateUser TEXT,
    ChangeDate TIMESTAMP,
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
    SumOfNet NUMERIC,
    TaxAmountWithVAT NUMERIC,
    TotalAmountWithoutVAT NUMERIC,
    Dicounts NUMERIC,
    Sucharges NUMERIC,
    Prepayment NUMERIC,
    RoundingAmount NUMERIC,
    PaymentDue NUMERIC,
    CustomizationID TEXT,
    ProfileID TEXT,
    AccountingCost TEXT,
    CurrencyCode TEXT
);
CREATE INDEX IF NOT EXISTS idxInvoice_InvoiceNumber ON tblInvoice (InvoiceNumber);

CREATE TABLE IF NOT EXISTS tblInvoice_Items (
    ID BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    InvoiceNumber TEXT NOT NULL,
    Pos SMALLINT,
    LineID TEXT,
    ItemName TEXT,
    Description TEXT,
    Quantity DOUBLE PRECISION,
    Net DOUBLE PRECISION,
    Gross DOUBLE PRECISION,
    VAT DOUBLE PRECISION,
    TotalGross DOUBLE PRECISION,
    TotalNet DOUBLE PRECISION
);
CREATE INDEX IF NOT EXISTS idxInvoice_Items_InvoiceNumber ON tblInvoice_Items (InvoiceNumber);

CREATE TABLE IF NOT EXISTS tblInvoice_Deduction (
    ID BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    InvoiceNumber TEXT NOT NULL,
    Code TEXT,
    reason TEXT,
    Factor TEXT,
    Amount NUMERIC,
    BasicAmount NUMERIC
);
CREATE INDEX IF NOT EXISTS idxInvoice_Deduction_InvoiceNumber ON tblInvoice_Deduction (InvoiceNumber);

CREATE TABLE IF NOT EXISTS tblDocuments (
    ID BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    DocType TEXT,
    InvoiceNumber TEXT NOT NULL,
    BinaryFile BYTEA,
    FileName TEXT,
    FileType TEXT,
    FileSize INTEGER
);
CREATE INDEX IF NOT EXISTS idxDocuments_InvoiceNumber ON tblDocuments (InvoiceNumber);
