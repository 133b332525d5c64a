// CII-SR-* and CII-DT-*, the CII binding's own rules: elements of the CII schema that an
// EN 16931 invoice does not use, elements it uses at most or exactly once, attributes the
// data types leave out, and a few conditions between elements.
//
// The element rules are rows of one table of paths. The table becomes a tree once; each
// document is walked once along that tree, descending only into children the tree names,
// and every rule of the table then only looks up what the walk found for it. The data type
// rules, which concern every element whose name ends in ID, Amount, Quantity and so on,
// share a second single walk over all elements.
#include "checks/validation/RuleContext.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace invorator::validation {

namespace {

constexpr const char *RsmNs = "urn:un:unece:uncefact:data:standard:CrossIndustryInvoice:100";
constexpr const char *RamNs =
    "urn:un:unece:uncefact:data:standard:ReusableAggregateBusinessInformationEntity:100";
constexpr const char *UdtNs = "urn:un:unece:uncefact:data:standard:UnqualifiedDataType:100";
constexpr const char *QdtNs = "urn:un:unece:uncefact:data:standard:QualifiedDataType:100";

constexpr FindingFlag W = FindingFlag::Warning;
constexpr FindingFlag F = FindingFlag::Fatal;

#define CII_AGREEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeAgreement/"
#define CII_SETTLEMENT "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement/"
#define CII_LINE "rsm:SupplyChainTradeTransaction/ram:IncludedSupplyChainTradeLineItem"
#define CII_PARAMETER(name) "rsm:ExchangedDocumentContext/ram:" name "SpecifiedDocumentContextParameter"

// The elements a row's path starts from, as paths below the root; some start from several.
enum class Ctx {
    Root,
    DocumentContext,
    ContextParameter, // every kind of document context parameter
    Document,
    DocumentNote,
    Line,
    LineDocument,
    Product,
    Characteristic,
    LineAgreement,
    PriceAllowance, // an allowance on the gross price of a line
    LineDelivery,
    LineSettlement,
    Agreement,
    Delivery,
    Settlement,
    PaymentMeans,
    Summation,
    AllowanceCharge, // an allowance or charge on the whole document or on a line (BG-20, -21, -27, -28)
    PlainId,         // the four identifiers that take no attribute at all (BT-24, BT-1, BT-126, BT-155)
    Count
};

constexpr std::array<const char *, 7> ContextPaths[] = {
    {""},
    {"rsm:ExchangedDocumentContext"},
    {CII_PARAMETER("Guideline"), CII_PARAMETER("BusinessProcess"), CII_PARAMETER("BIM"),
     CII_PARAMETER("Scenario"), CII_PARAMETER("Application"), CII_PARAMETER("Subset"),
     CII_PARAMETER("MessageStandard")},
    {"rsm:ExchangedDocument"},
    {"rsm:ExchangedDocument/ram:IncludedNote"},
    {CII_LINE},
    {CII_LINE "/ram:AssociatedDocumentLineDocument"},
    {CII_LINE "/ram:SpecifiedTradeProduct"},
    {CII_LINE "/ram:SpecifiedTradeProduct/ram:ApplicableProductCharacteristic"},
    {CII_LINE "/ram:SpecifiedLineTradeAgreement"},
    {CII_LINE
     "/ram:SpecifiedLineTradeAgreement/ram:GrossPriceProductTradePrice/ram:AppliedTradeAllowanceCharge"},
    {CII_LINE "/ram:SpecifiedLineTradeDelivery"},
    {CII_LINE "/ram:SpecifiedLineTradeSettlement"},
    {"rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeAgreement"},
    {"rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeDelivery"},
    {"rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeSettlement"},
    {CII_SETTLEMENT "ram:SpecifiedTradeSettlementPaymentMeans"},
    {CII_SETTLEMENT "ram:SpecifiedTradeSettlementHeaderMonetarySummation"},
    {CII_SETTLEMENT "ram:SpecifiedTradeAllowanceCharge",
     CII_LINE "/ram:SpecifiedLineTradeSettlement/ram:SpecifiedTradeAllowanceCharge"},
    {CII_PARAMETER("Guideline") "/ram:ID", "rsm:ExchangedDocument/ram:ID",
     CII_LINE "/ram:AssociatedDocumentLineDocument/ram:LineID",
     CII_LINE "/ram:SpecifiedTradeProduct/ram:SellerAssignedID"},
};
static_assert(std::size(ContextPaths) == static_cast<size_t>(Ctx::Count));

// How often the element on a row's path may occur below each element the row starts from:
// not at all (reported at each occurrence), at most once or exactly once (reported at each
// one too many, and where it must be and is missing, at the element it belongs in).
enum class Times { None, AtMostOnce, ExactlyOnce };

struct Row
{
    const char *id;
    FindingFlag flag;
    Ctx ctx;
    const char *path; // element steps, an attribute last
    Times times = Times::None;
};

constexpr Times AtMostOnce = Times::AtMostOnce;
constexpr Times ExactlyOnce = Times::ExactlyOnce;

#define STP "ram:SellerTradeParty/"
#define BTP "ram:BuyerTradeParty/"
#define STRTP "ram:SellerTaxRepresentativeTradeParty/"
#define PAYEE "ram:PayeeTradeParty/"
#define SCONTACT STP "ram:DefinedTradeContact/"
#define BCONTACT BTP "ram:DefinedTradeContact/"
#define GROSS "ram:GrossPriceProductTradePrice/"
#define GROSSAC GROSS "ram:AppliedTradeAllowanceCharge/"
#define NET "ram:NetPriceProductTradePrice/"
#define CHARACTERISTIC "ram:ApplicableProductCharacteristic/"
#define CLASSIFICATION "ram:DesignatedProductClassification/"
#define LINEAC "ram:SpecifiedTradeAllowanceCharge/"
#define LINESUM "ram:SpecifiedTradeSettlementLineMonetarySummation/"
#define RECEIVABLE "ram:ReceivableSpecifiedTradeAccountingAccount/"
#define SHIPTO "ram:ShipToTradeParty/"
#define DELIVERY "ram:ActualDeliverySupplyChainEvent/"
#define MEANS "ram:SpecifiedTradeSettlementPaymentMeans/"
#define CARD MEANS "ram:ApplicableTradeSettlementFinancialCard/"
#define TERMS "ram:SpecifiedTradePaymentTerms/"

// clang-format off
constexpr Row Rows[] = {
    // the document context: one rules identifier (BT-24), one business process (BT-23)
    {"CII-SR-001", W, Ctx::DocumentContext, "ram:SpecifiedTransactionID"},
    {"CII-SR-002", W, Ctx::DocumentContext, "ram:TestIndicator"},
    {"CII-SR-003", W, Ctx::DocumentContext, "ram:BusinessProcessSpecifiedDocumentContextParameter", AtMostOnce},
    {"CII-SR-006", W, Ctx::DocumentContext, "ram:BIMSpecifiedDocumentContextParameter"},
    {"CII-SR-007", W, Ctx::DocumentContext, "ram:ScenarioSpecifiedDocumentContextParameter"},
    {"CII-SR-008", W, Ctx::DocumentContext, "ram:ApplicationSpecifiedDocumentContextParameter"},
    {"CII-SR-009", F, Ctx::DocumentContext, "ram:GuidelineSpecifiedDocumentContextParameter", ExactlyOnce},
    {"CII-SR-010", F, Ctx::DocumentContext, "ram:GuidelineSpecifiedDocumentContextParameter/ram:ID", ExactlyOnce},
    {"CII-SR-011", W, Ctx::DocumentContext, "ram:SubsetSpecifiedDocumentContextParameter"},
    {"CII-SR-012", W, Ctx::DocumentContext, "ram:MessageStandardSpecifiedDocumentContextParameter"},
    {"CII-SR-04", W, Ctx::ContextParameter, "ram:Value"},
    {"CII-SR-05", W, Ctx::ContextParameter, "ram:SpecifiedDocumentVersion"},
    // the document: number, type code (BT-3), issue date and notes (BG-1)
    {"CII-SR-013", W, Ctx::Document, "ram:Name"},
    {"CII-SR-014", F, Ctx::Document, "ram:TypeCode", ExactlyOnce},
    {"CII-SR-015", W, Ctx::Document, "ram:IssueDateTime/udt:DateTime"},
    {"CII-SR-016", W, Ctx::Document, "ram:CopyIndicator"},
    {"CII-SR-017", W, Ctx::Document, "ram:Purpose"},
    {"CII-SR-018", W, Ctx::Document, "ram:ControlRequirementIndicator"},
    {"CII-SR-019", W, Ctx::Document, "ram:LanguageID"},
    {"CII-SR-020", W, Ctx::Document, "ram:PurposeCode"},
    {"CII-SR-021", W, Ctx::Document, "ram:RevisionDateTime"},
    {"CII-SR-022", W, Ctx::Document, "ram:VersionID"},
    {"CII-SR-023", W, Ctx::Document, "ram:GlobalID"},
    {"CII-SR-024", W, Ctx::Document, "ram:RevisionID"},
    {"CII-SR-025", W, Ctx::Document, "ram:PreviousRevisionID"},
    {"CII-SR-026", W, Ctx::Document, "ram:CategoryCode"},
    {"CII-SR-027", W, Ctx::Document, "ram:IncludedNote/ram:Subject"},
    {"CII-SR-028", W, Ctx::Document, "ram:IncludedNote/ram:ContentCode"},
    {"CII-SR-030", W, Ctx::DocumentNote, "ram:Content", AtMostOnce},
    {"CII-SR-032", W, Ctx::Document, "ram:IncludedNote/ram:ID"},
    {"CII-SR-033", W, Ctx::Document, "ram:EffectiveSpecifiedPeriod"},
    {"CII-SR-034", W, Ctx::Document, "ram:IssuerTradeParty"},
    // the line (BG-25) and its note (BT-127)
    {"CII-SR-035", W, Ctx::Line, "ram:DescriptionCode"},
    {"CII-SR-036", W, Ctx::Line, "ram:ParentLineID"},
    {"CII-SR-037", W, Ctx::Line, "ram:LineStatusCode"},
    {"CII-SR-038", W, Ctx::Line, "ram:LineStatusReasonCode"},
    {"CII-SR-221", W, Ctx::Line, "ram:IncludedSubordinateTradeLineItem"},
    {"CII-SR-039", W, Ctx::LineDocument, "ram:IncludedNote", AtMostOnce},
    {"CII-SR-040", W, Ctx::LineDocument, "ram:IncludedNote/ram:Content", AtMostOnce},
    {"CII-SR-041", W, Ctx::LineDocument, "ram:IncludedNote/ram:SubjectCode"},
    {"CII-SR-042", W, Ctx::LineDocument, "ram:IncludedNote/ram:ID"},
    {"CII-SR-043", W, Ctx::LineDocument, "ram:IncludedNote/ram:Subject"},
    {"CII-SR-044", W, Ctx::LineDocument, "ram:IncludedNote/ram:ContentCode"},
    // the item (BG-31), its attributes (BG-32) and classification (BT-158)
    {"CII-SR-045", W, Ctx::Product, "ram:ID"},
    {"CII-SR-048", W, Ctx::Product, "ram:ManufacturerAssignedID"},
    {"CII-SR-049", W, Ctx::Product, "ram:TradeName"},
    {"CII-SR-050", W, Ctx::Product, "ram:TypeCode"},
    {"CII-SR-051", W, Ctx::Product, "ram:NetWeightMeasure"},
    {"CII-SR-052", W, Ctx::Product, "ram:GrossWeightMeasure"},
    {"CII-SR-053", W, Ctx::Product, "ram:ProductGroupID"},
    {"CII-SR-054", W, Ctx::Product, "ram:EndItemTypeCode"},
    {"CII-SR-055", W, Ctx::Product, "ram:EndItemName"},
    {"CII-SR-056", W, Ctx::Product, "ram:AreaDensityMeasure"},
    {"CII-SR-057", W, Ctx::Product, "ram:UseDescription"},
    {"CII-SR-058", W, Ctx::Product, "ram:BrandName"},
    {"CII-SR-059", W, Ctx::Product, "ram:SubBrandName"},
    {"CII-SR-060", W, Ctx::Product, "ram:DrainedNetWeightMeasure"},
    {"CII-SR-061", W, Ctx::Product, "ram:VariableMeasureIndicator"},
    {"CII-SR-062", W, Ctx::Product, "ram:ColourCode"},
    {"CII-SR-063", W, Ctx::Product, "ram:ColourDescription"},
    {"CII-SR-064", W, Ctx::Product, "ram:Designation"},
    {"CII-SR-065", W, Ctx::Product, "ram:FormattedCancellationAnnouncedLaunchDateTime"},
    {"CII-SR-066", W, Ctx::Product, "ram:FormattedLatestProductDataChangeDateTime"},
    {"CII-SR-067", W, Ctx::Product, CHARACTERISTIC "ram:ID"},
    {"CII-SR-068", W, Ctx::Product, CHARACTERISTIC "ram:TypeCode"},
    {"CII-SR-069", F, Ctx::Characteristic, "ram:Description", ExactlyOnce},
    {"CII-SR-070", W, Ctx::Product, CHARACTERISTIC "ram:ValueMeasure"},
    {"CII-SR-071", W, Ctx::Product, CHARACTERISTIC "ram:MeasurementMethodCode"},
    {"CII-SR-072", F, Ctx::Characteristic, "ram:Value", ExactlyOnce},
    {"CII-SR-073", W, Ctx::Product, CHARACTERISTIC "ram:ValueCode"},
    {"CII-SR-074", W, Ctx::Product, CHARACTERISTIC "ram:ValueDateTime"},
    {"CII-SR-075", W, Ctx::Product, CHARACTERISTIC "ram:ValueIndicator"},
    {"CII-SR-076", W, Ctx::Product, CHARACTERISTIC "ram:ContentTypeCode"},
    {"CII-SR-077", W, Ctx::Product, CHARACTERISTIC "ram:ValueSpecifiedBinaryFile"},
    {"CII-SR-078", W, Ctx::Product, CHARACTERISTIC "ram:ApplicableProductCharacteristicCondition"},
    {"CII-SR-079", W, Ctx::Product, CHARACTERISTIC "ram:ApplicableReferencedStandard"},
    {"CII-SR-080", W, Ctx::Product, "ram:ApplicableMaterialGoodsCharacteristic"},
    {"CII-SR-081", W, Ctx::Product, CLASSIFICATION "ram:SystemID"},
    {"CII-SR-082", W, Ctx::Product, CLASSIFICATION "ram:SystemName"},
    {"CII-SR-083", W, Ctx::Product, CLASSIFICATION "ram:ClassName"},
    {"CII-SR-084", W, Ctx::Product, CLASSIFICATION "ram:SubClassCode"},
    {"CII-SR-085", W, Ctx::Product, CLASSIFICATION "ram:ClassProductCharacteristic"},
    {"CII-SR-086", W, Ctx::Product, CLASSIFICATION "ram:ApplicableReferencedStandard"},
    {"CII-SR-087", W, Ctx::Product, "ram:IndividualTradeProductInstance"},
    {"CII-SR-088", W, Ctx::Product, "ram:CertificationEvidenceReferenceReferencedDocument"},
    {"CII-SR-089", W, Ctx::Product, "ram:InspectionReferenceReferencedDocument"},
    {"CII-SR-091", W, Ctx::Product, "ram:OriginTradeCountry/ram:Name"},
    {"CII-SR-092", W, Ctx::Product, "ram:OriginTradeCountry/ram:SubordinateTradeCountrySubDivision"},
    {"CII-SR-093", W, Ctx::Product, "ram:LinearSpatialDimension"},
    {"CII-SR-094", W, Ctx::Product, "ram:MinimumLinearSpatialDimension"},
    {"CII-SR-095", W, Ctx::Product, "ram:MaximumLinearSpatialDimension"},
    {"CII-SR-096", W, Ctx::Product, "ram:ManufacturerTradeParty"},
    {"CII-SR-097", W, Ctx::Product, "ram:PresentationSpecifiedBinaryFile"},
    {"CII-SR-098", W, Ctx::Product, "ram:MSDSReferenceReferencedDocument"},
    {"CII-SR-099", W, Ctx::Product, "ram:AdditionalReferenceReferencedDocument"},
    {"CII-SR-100", W, Ctx::Product, "ram:LegalRightsOwnerTradeParty"},
    {"CII-SR-101", W, Ctx::Product, "ram:BrandOwnerTradeParty"},
    {"CII-SR-102", W, Ctx::Product, "ram:IncludedReferencedProduct"},
    {"CII-SR-103", W, Ctx::Product, "ram:InformationNote"},
    // the line's agreement: the order line (BT-132), the prices (BG-29)
    {"CII-SR-104", W, Ctx::LineAgreement, "ram:BuyerReference"},
    {"CII-SR-105", W, Ctx::LineAgreement, "ram:BuyerRequisitionerTradeParty"},
    {"CII-SR-106", W, Ctx::LineAgreement, "ram:ApplicableTradeDeliveryTerms"},
    {"CII-SR-107", W, Ctx::LineAgreement, "ram:SellerOrderReferencedDocument"},
    {"CII-SR-108", W, Ctx::LineAgreement, "ram:BuyerOrderReferencedDocument/ram:IssuerAssignedID"},
    {"CII-SR-109", W, Ctx::LineAgreement, "ram:QuotationReferencedDocument"},
    {"CII-SR-110", W, Ctx::LineAgreement, "ram:ContractReferencedDocument"},
    {"CII-SR-111", W, Ctx::LineAgreement, "ram:DemandForecastReferencedDocument"},
    {"CII-SR-112", W, Ctx::LineAgreement, "ram:PromotionalDealReferencedDocument"},
    {"CII-SR-113", W, Ctx::LineAgreement, "ram:AdditionalReferencedDocument"},
    {"CII-SR-114", W, Ctx::LineAgreement, GROSS "ram:TypeCode"},
    {"CII-SR-115", W, Ctx::LineAgreement, GROSS "ram:MinimumQuantity"},
    {"CII-SR-116", W, Ctx::LineAgreement, GROSS "ram:MaximumQuantity"},
    {"CII-SR-117", W, Ctx::LineAgreement, GROSS "ram:ChangeReason"},
    {"CII-SR-118", W, Ctx::LineAgreement, GROSS "ram:OrderUnitConversionFactorNumeric"},
    {"CII-SR-439", F, Ctx::LineAgreement, NET "ram:ChargeAmount", ExactlyOnce},
    {"CII-SR-120", W, Ctx::LineAgreement, GROSSAC "ram:ID"},
    {"CII-SR-121", W, Ctx::LineAgreement, GROSSAC "ram:SequenceNumeric"},
    {"CII-SR-122", W, Ctx::LineAgreement, GROSSAC "ram:CalculationPercent"},
    {"CII-SR-123", W, Ctx::LineAgreement, GROSSAC "ram:BasisAmount"},
    {"CII-SR-124", W, Ctx::LineAgreement, GROSSAC "ram:BasisQuantity"},
    {"CII-SR-125", W, Ctx::LineAgreement, GROSSAC "ram:PrepaidIndicator"},
    {"CII-SR-126", W, Ctx::LineAgreement, GROSSAC "ram:UnitBasisAmount"},
    {"CII-SR-127", W, Ctx::LineAgreement, GROSSAC "ram:ReasonCode"},
    {"CII-SR-128", W, Ctx::LineAgreement, GROSSAC "ram:Reason"},
    {"CII-SR-129", W, Ctx::LineAgreement, GROSSAC "ram:TypeCode"},
    {"CII-SR-130", W, Ctx::LineAgreement, GROSSAC "ram:CategoryTradeTax"},
    {"CII-SR-131", W, Ctx::LineAgreement, GROSSAC "ram:ActualTradeCurrencyExchange"},
    {"CII-SR-440", F, Ctx::PriceAllowance, "ram:ActualAmount", AtMostOnce},
    {"CII-SR-445", W, Ctx::LineAgreement, GROSS "ram:IncludedTradeTax"},
    {"CII-SR-132", W, Ctx::LineAgreement, GROSS "ram:ValiditySpecifiedPeriod"},
    {"CII-SR-133", W, Ctx::LineAgreement, GROSS "ram:DeliveryTradeLocation"},
    {"CII-SR-134", W, Ctx::LineAgreement, GROSS "ram:TradeComparisonReferencePrice"},
    {"CII-SR-135", W, Ctx::LineAgreement, GROSS "ram:AssociatedReferencedDocument"},
    {"CII-SR-136", W, Ctx::LineAgreement, NET "ram:TypeCode"},
    {"CII-SR-138", W, Ctx::LineAgreement, NET "ram:MinimumQuantity"},
    {"CII-SR-139", W, Ctx::LineAgreement, NET "ram:MaximumQuantity"},
    {"CII-SR-140", W, Ctx::LineAgreement, NET "ram:ChangeReason"},
    {"CII-SR-141", W, Ctx::LineAgreement, NET "ram:OrderUnitConversionFactorNumeric"},
    {"CII-SR-142", W, Ctx::LineAgreement, NET "ram:AppliedTradeAllowanceCharge"},
    {"CII-SR-446", W, Ctx::LineAgreement, NET "ram:IncludedTradeTax"},
    {"CII-SR-143", W, Ctx::LineAgreement, NET "ram:ValiditySpecifiedPeriod"},
    {"CII-SR-144", W, Ctx::LineAgreement, NET "ram:DeliveryTradeLocation"},
    {"CII-SR-145", W, Ctx::LineAgreement, NET "ram:TradeComparisonReferencePrice"},
    {"CII-SR-146", W, Ctx::LineAgreement, NET "ram:AssociatedReferencedDocument"},
    {"CII-SR-441", F, Ctx::LineAgreement, NET "ram:ChargeAmount", AtMostOnce},
    {"CII-SR-147", W, Ctx::LineAgreement, "ram:RequisitionerReferencedDocument"},
    {"CII-SR-148", W, Ctx::LineAgreement, "ram:ItemSellerTradeParty"},
    {"CII-SR-149", W, Ctx::LineAgreement, "ram:ItemBuyerTradeParty"},
    {"CII-SR-150", W, Ctx::LineAgreement, "ram:IncludedSpecifiedMarketplace"},
    {"CII-SR-447", W, Ctx::LineAgreement, "ram:UltimateCustomerOrderReferencedDocument"},
    // the line's delivery: only the invoiced quantity (BT-129)
    {"CII-SR-151", W, Ctx::LineDelivery, "ram:RequestedQuantity"},
    {"CII-SR-152", W, Ctx::LineDelivery, "ram:ReceivedQuantity"},
    {"CII-SR-153", W, Ctx::LineDelivery, "ram:ChargeFreeQuantity"},
    {"CII-SR-154", W, Ctx::LineDelivery, "ram:PackageQuantity"},
    {"CII-SR-155", W, Ctx::LineDelivery, "ram:ProductUnitQuantity"},
    {"CII-SR-156", W, Ctx::LineDelivery, "ram:PerPackageUnitQuantity"},
    {"CII-SR-157", W, Ctx::LineDelivery, "ram:NetWeightMeasure"},
    {"CII-SR-158", W, Ctx::LineDelivery, "ram:GrossWeightMeasure"},
    {"CII-SR-159", W, Ctx::LineDelivery, "ram:TheoreticalWeightMeasure"},
    {"CII-SR-160", W, Ctx::LineDelivery, "ram:DespatchedQuantity"},
    {"CII-SR-161", W, Ctx::LineDelivery, "ram:SpecifiedDeliveryAdjustment"},
    {"CII-SR-162", W, Ctx::LineDelivery, "ram:IncludedSupplyChainPackaging"},
    {"CII-SR-163", W, Ctx::LineDelivery, "ram:RelatedSupplyChainConsignment"},
    {"CII-SR-164", W, Ctx::LineDelivery, "ram:ShipToTradeParty"},
    {"CII-SR-165", W, Ctx::LineDelivery, "ram:UltimateShipToTradeParty"},
    {"CII-SR-166", W, Ctx::LineDelivery, "ram:ShipFromTradeParty"},
    {"CII-SR-167", W, Ctx::LineDelivery, "ram:ActualDespatchSupplyChainEvent"},
    {"CII-SR-168", W, Ctx::LineDelivery, "ram:ActualPickUpSupplyChainEvent"},
    {"CII-SR-169", W, Ctx::LineDelivery, "ram:RequestedDeliverySupplyChainEvent"},
    {"CII-SR-170", W, Ctx::LineDelivery, "ram:ActualDeliverySupplyChainEvent"},
    {"CII-SR-171", W, Ctx::LineDelivery, "ram:ActualReceiptSupplyChainEvent"},
    {"CII-SR-172", W, Ctx::LineDelivery, "ram:AdditionalReferencedDocument"},
    {"CII-SR-173", W, Ctx::LineDelivery, "ram:DespatchAdviceReferencedDocument"},
    {"CII-SR-174", W, Ctx::LineDelivery, "ram:ReceivingAdviceReferencedDocument"},
    {"CII-SR-175", W, Ctx::LineDelivery, "ram:DeliveryNoteReferencedDocument"},
    {"CII-SR-176", W, Ctx::LineDelivery, "ram:ConsumptionReportReferencedDocument"},
    {"CII-SR-177", W, Ctx::LineDelivery, "ram:PackingListReferencedDocument"},
    // the line's settlement: VAT (BG-30), period (BG-26), allowances and charges (BG-27,
    // BG-28), net amount (BT-131), object (BT-128) and buyer's accounting reference (BT-133)
    {"CII-SR-178", W, Ctx::LineSettlement, "ram:PaymentReference"},
    {"CII-SR-179", W, Ctx::LineSettlement, "ram:InvoiceIssuerReference"},
    {"CII-SR-180", W, Ctx::LineSettlement, "ram:TotalAdjustmentAmount"},
    {"CII-SR-181", W, Ctx::LineSettlement, "ram:DiscountIndicator"},
    {"CII-SR-182", W, Ctx::LineSettlement, "ram:ApplicableTradeTax/ram:CalculatedAmount"},
    {"CII-SR-183", W, Ctx::LineSettlement, LINEAC "ram:ChargeIndicator/udt:IndicatorString"},
    {"CII-SR-184", W, Ctx::LineSettlement, LINEAC "ram:ID"},
    {"CII-SR-185", W, Ctx::LineSettlement, LINEAC "ram:SequenceNumeric"},
    {"CII-SR-186", W, Ctx::LineSettlement, LINEAC "ram:CalculationPercent/@format"},
    {"CII-SR-187", W, Ctx::LineSettlement, LINEAC "ram:BasisQuantity"},
    {"CII-SR-188", W, Ctx::LineSettlement, LINEAC "ram:PrepaidIndicator"},
    {"CII-SR-189", W, Ctx::LineSettlement, LINEAC "ram:UnitBasisAmount"},
    {"CII-SR-190", W, Ctx::LineSettlement, LINEAC "ram:TypeCode"},
    {"CII-SR-191", W, Ctx::LineSettlement, LINEAC "ram:CategoryTradeTax"},
    {"CII-SR-192", W, Ctx::LineSettlement, LINEAC "ram:ActualTradeCurrencyExchange"},
    {"CII-SR-193", W, Ctx::LineSettlement, LINEAC "ram:ID"},
    {"CII-SR-194", W, Ctx::LineSettlement, "ram:SubtotalCalculatedTradeTax"},
    {"CII-SR-195", W, Ctx::LineSettlement, "ram:SpecifiedLogisticsServiceCharge"},
    {"CII-SR-196", W, Ctx::LineSettlement, "ram:SpecifiedTradePaymentTerms"},
    {"CII-SR-197", W, Ctx::LineSettlement, LINESUM "ram:ChargeTotalAmount"},
    {"CII-SR-198", W, Ctx::LineSettlement, LINESUM "ram:AllowanceTotalAmount"},
    {"CII-SR-199", W, Ctx::LineSettlement, LINESUM "ram:TaxBasisTotalAmount"},
    // VAT amount and gross amount of a line: EN 16931 carries VAT only per breakdown
    {"CII-SR-200", W, Ctx::LineSettlement, LINESUM "ram:TaxTotalAmount"},
    {"CII-SR-201", W, Ctx::LineSettlement, LINESUM "ram:GrandTotalAmount"},
    {"CII-SR-202", W, Ctx::LineSettlement, LINESUM "ram:InformationAmount"},
    {"CII-SR-203", W, Ctx::LineSettlement, LINESUM "ram:TotalAllowanceChargeAmount"},
    {"CII-SR-204", W, Ctx::LineSettlement, LINESUM "ram:TotalRetailValueInformationAmount"},
    {"CII-SR-205", W, Ctx::LineSettlement, LINESUM "ram:GrossLineTotalAmount"},
    {"CII-SR-206", W, Ctx::LineSettlement, LINESUM "ram:NetLineTotalAmount"},
    {"CII-SR-207", W, Ctx::LineSettlement, LINESUM "ram:NetIncludingTaxesLineTotalAmount"},
    {"CII-SR-208", W, Ctx::LineSettlement, LINESUM "ram:ProductWeightLossInformationAmount"},
    {"CII-SR-209", W, Ctx::LineSettlement, "ram:SpecifiedFinancialAdjustment"},
    {"CII-SR-210", W, Ctx::LineSettlement, "ram:InvoiceReferencedDocument"},
    {"CII-SR-212", W, Ctx::LineSettlement, "ram:PayableSpecifiedTradeAccountingAccount"},
    {"CII-SR-213", W, Ctx::LineSettlement, RECEIVABLE "ram:SetTriggerCode"},
    {"CII-SR-214", W, Ctx::LineSettlement, RECEIVABLE "ram:TypeCode"},
    {"CII-SR-215", W, Ctx::LineSettlement, RECEIVABLE "ram:AmountTypeCode"},
    {"CII-SR-216", W, Ctx::LineSettlement, RECEIVABLE "ram:Name"},
    {"CII-SR-217", W, Ctx::LineSettlement, RECEIVABLE "ram:CostReferenceDimensionPattern"},
    {"CII-SR-218", W, Ctx::LineSettlement, "ram:PurchaseSpecifiedTradeAccountingAccount"},
    {"CII-SR-219", W, Ctx::LineSettlement, "ram:SalesSpecifiedTradeAccountingAccount"},
    {"CII-SR-220", W, Ctx::LineSettlement, "ram:SpecifiedTradeSettlementFinancialCard"},
    {"CII-SR-454", W, Ctx::LineSettlement, "ram:ApplicableTradeTax", ExactlyOnce},
    // the header agreement: seller (BG-4), buyer (BG-7), tax representative (BG-11) and the
    // references to order, contract, project and supporting documents
    {"CII-SR-442", W, Ctx::Agreement, "ram:Reference"},
    {"CII-SR-222", W, Ctx::Agreement, STP "ram:RoleCode"},
    {"CII-SR-223", W, Ctx::Agreement, STP "ram:SpecifiedLegalOrganization/ram:LegalClassificationCode"},
    {"CII-SR-224", W, Ctx::Agreement, STP "ram:SpecifiedLegalOrganization/ram:Name"},
    {"CII-SR-225", W, Ctx::Agreement, STP "ram:SpecifiedLegalOrganization/ram:PostalTradeAddress"},
    {"CII-SR-226", W, Ctx::Agreement, STP "ram:SpecifiedLegalOrganization/ram:AuthorizedLegalRegistration"},
    {"CII-SR-227", W, Ctx::Agreement, SCONTACT "ram:ID"},
    {"CII-SR-228", W, Ctx::Agreement, SCONTACT "ram:TypeCode"},
    {"CII-SR-229", W, Ctx::Agreement, SCONTACT "ram:JobTitle"},
    {"CII-SR-230", W, Ctx::Agreement, SCONTACT "ram:Responsibility"},
    {"CII-SR-231", W, Ctx::Agreement, SCONTACT "ram:PersonID"},
    {"CII-SR-232", W, Ctx::Agreement, SCONTACT "ram:TelephoneUniversalCommunication/ram:URIID"},
    {"CII-SR-233", W, Ctx::Agreement, SCONTACT "ram:TelephoneUniversalCommunication/ram:ChannelCode"},
    {"CII-SR-234", W, Ctx::Agreement, SCONTACT "ram:DirectTelephoneUniversalCommunication"},
    {"CII-SR-235", W, Ctx::Agreement, SCONTACT "ram:MobileTelephoneUniversalCommunication"},
    {"CII-SR-236", W, Ctx::Agreement, SCONTACT "ram:FaxUniversalCommunication"},
    {"CII-SR-237", W, Ctx::Agreement, SCONTACT "ram:EmailURIUniversalCommunication/ram:ChannelCode"},
    {"CII-SR-238", W, Ctx::Agreement, SCONTACT "ram:EmailURIUniversalCommunication/ram:CompleteNumber"},
    {"CII-SR-239", W, Ctx::Agreement, SCONTACT "ram:TelexUniversalCommunication"},
    {"CII-SR-240", W, Ctx::Agreement, SCONTACT "ram:VOIPUniversalCommunication"},
    {"CII-SR-241", W, Ctx::Agreement, SCONTACT "ram:InstantMessagingUniversalCommunication"},
    {"CII-SR-242", W, Ctx::Agreement, SCONTACT "ram:SpecifiedNote"},
    {"CII-SR-243", W, Ctx::Agreement, SCONTACT "ram:SpecifiedContactPerson"},
    {"CII-SR-244", W, Ctx::Agreement, STP "ram:URIUniversalCommunication/ram:ChannelCode"},
    {"CII-SR-245", W, Ctx::Agreement, STP "ram:URIUniversalCommunication/ram:CompleteNumber"},
    {"CII-SR-246", W, Ctx::Agreement, STP "ram:SpecifiedTaxRegistration/ram:AssociatedRegisteredTax"},
    {"CII-SR-247", W, Ctx::Agreement, STP "ram:EndPointURIUniversalCommunication"},
    {"CII-SR-248", W, Ctx::Agreement, STP "ram:LogoAssociatedSpecifiedBinaryFile"},
    {"CII-SR-249", W, Ctx::Agreement, BTP "ram:RoleCode"},
    {"CII-SR-250", W, Ctx::Agreement, BTP "ram:Description"},
    {"CII-SR-251", W, Ctx::Agreement, BTP "ram:SpecifiedLegalOrganization/ram:LegalClassificationCode"},
    {"CII-SR-252", W, Ctx::Agreement, BTP "ram:SpecifiedLegalOrganization/ram:Name"},
    {"CII-SR-254", W, Ctx::Agreement, BTP "ram:SpecifiedLegalOrganization/ram:PostalTradeAddress"},
    {"CII-SR-255", W, Ctx::Agreement, BTP "ram:SpecifiedLegalOrganization/ram:AuthorizedLegalRegistration"},
    {"CII-SR-256", W, Ctx::Agreement, BCONTACT "ram:ID"},
    {"CII-SR-257", W, Ctx::Agreement, BCONTACT "ram:TypeCode"},
    {"CII-SR-258", W, Ctx::Agreement, BCONTACT "ram:JobTitle"},
    {"CII-SR-259", W, Ctx::Agreement, BCONTACT "ram:Responsibility"},
    {"CII-SR-260", W, Ctx::Agreement, BCONTACT "ram:PersonID"},
    {"CII-SR-261", W, Ctx::Agreement, BCONTACT "ram:TelephoneUniversalCommunication/ram:URIID"},
    {"CII-SR-262", W, Ctx::Agreement, BCONTACT "ram:TelephoneUniversalCommunication/ram:ChannelCode"},
    {"CII-SR-263", W, Ctx::Agreement, BCONTACT "ram:DirectTelephoneUniversalCommunication"},
    {"CII-SR-264", W, Ctx::Agreement, BCONTACT "ram:MobileTelephoneUniversalCommunication"},
    {"CII-SR-265", W, Ctx::Agreement, BCONTACT "ram:FaxUniversalCommunication"},
    {"CII-SR-266", W, Ctx::Agreement, BCONTACT "ram:EmailURIUniversalCommunication/ram:ChannelCode"},
    {"CII-SR-267", W, Ctx::Agreement, BCONTACT "ram:EmailURIUniversalCommunication/ram:CompleteNumber"},
    {"CII-SR-268", W, Ctx::Agreement, BCONTACT "ram:TelexUniversalCommunication"},
    {"CII-SR-269", W, Ctx::Agreement, BCONTACT "ram:VOIPUniversalCommunication"},
    {"CII-SR-270", W, Ctx::Agreement, BCONTACT "ram:InstantMessagingUniversalCommunication"},
    {"CII-SR-271", W, Ctx::Agreement, BCONTACT "ram:SpecifiedNote"},
    {"CII-SR-272", W, Ctx::Agreement, BCONTACT "ram:SpecifiedContactPerson"},
    {"CII-SR-273", W, Ctx::Agreement, BTP "ram:URIUniversalCommunication/ram:ChannelCode"},
    {"CII-SR-274", W, Ctx::Agreement, BTP "ram:URIUniversalCommunication/ram:CompleteNumber"},
    {"CII-SR-275", W, Ctx::Agreement, BTP "ram:SpecifiedTaxRegistration/ram:AssociatedRegisteredTax"},
    {"CII-SR-276", W, Ctx::Agreement, BTP "ram:EndPointURIUniversalCommunication"},
    {"CII-SR-277", W, Ctx::Agreement, BTP "ram:LogoAssociatedSpecifiedBinaryFile"},
    {"CII-SR-278", W, Ctx::Agreement, "ram:SalesAgentTradeParty"},
    {"CII-SR-279", W, Ctx::Agreement, "ram:BuyerRequisitionerTradeParty"},
    {"CII-SR-280", W, Ctx::Agreement, "ram:BuyerAssignedAccountantTradeParty"},
    {"CII-SR-281", W, Ctx::Agreement, "ram:SellerAssignedAccountantTradeParty"},
    // two meanings carry this number; the first one given is the one that counts
    {"CII-SR-282", W, Ctx::Agreement, "ram:BuyerTaxRepresentativeTradeParty"},
    {"CII-SR-283", W, Ctx::Agreement, STRTP "ram:GlobalID"},
    {"CII-SR-284", W, Ctx::Agreement, STRTP "ram:RoleCode"},
    {"CII-SR-285", W, Ctx::Agreement, STRTP "ram:Description"},
    {"CII-SR-286", W, Ctx::Agreement, STRTP "ram:SpecifiedLegalOrganization"},
    {"CII-SR-287", W, Ctx::Agreement, STRTP "ram:DefinedTradeContact"},
    {"CII-SR-288", W, Ctx::Agreement, STRTP "ram:URIUniversalCommunication"},
    {"CII-SR-289", W, Ctx::Agreement, STRTP "ram:SpecifiedTaxRegistration/ram:AssociatedRegisteredTax"},
    {"CII-SR-290", W, Ctx::Agreement, STRTP "ram:EndPointURIUniversalCommunication"},
    {"CII-SR-291", W, Ctx::Agreement, STRTP "ram:LogoAssociatedSpecifiedBinaryFile"},
    {"CII-SR-292", W, Ctx::Agreement, "ram:ProductEndUserTradeParty"},
    {"CII-SR-293", W, Ctx::Agreement, "ram:ApplicableTradeDeliveryTerms"},
    {"CII-SR-294", W, Ctx::Agreement, "ram:SellerOrderReferencedDocument/ram:LineID"},
    {"CII-SR-295", W, Ctx::Agreement, "ram:BuyerOrderReferencedDocument/ram:LineID"},
    {"CII-SR-296", W, Ctx::Agreement, "ram:QuotationReferencedDocument"},
    {"CII-SR-297", W, Ctx::Agreement, "ram:OrderResponseReferencedDocument"},
    {"CII-SR-298", W, Ctx::Agreement, "ram:ContractReferencedDocument/ram:LineID"},
    {"CII-SR-299", W, Ctx::Agreement, "ram:DemandForecastReferencedDocument"},
    {"CII-SR-300", W, Ctx::Agreement, "ram:SupplyInstructionReferencedDocument"},
    {"CII-SR-301", W, Ctx::Agreement, "ram:PromotionalDealReferencedDocument"},
    {"CII-SR-302", W, Ctx::Agreement, "ram:PriceListReferencedDocument"},
    {"CII-SR-303", W, Ctx::Agreement, "ram:AdditionalReferencedDocument/ram:LineID"},
    {"CII-SR-304", W, Ctx::Agreement, "ram:RequisitionerReferencedDocument"},
    {"CII-SR-305", W, Ctx::Agreement, "ram:BuyerAgentTradeParty"},
    {"CII-SR-306", W, Ctx::Agreement, "ram:PurchaseConditionsReferencedDocument"},
    {"CII-SR-307", W, Ctx::Agreement, "ram:SpecifiedProcuringProject/ram:Description"},
    {"CII-SR-448", W, Ctx::Agreement, "ram:UltimateCustomerOrderReferencedDocument"},
    {"CII-SR-455", F, Ctx::Agreement, STP "ram:DefinedTradeContact", AtMostOnce},
    {"CII-SR-456", F, Ctx::Agreement, BTP "ram:DefinedTradeContact", AtMostOnce},
    {"CII-SR-459", F, Ctx::Agreement, STP "ram:URIUniversalCommunication", AtMostOnce},
    {"CII-SR-460", F, Ctx::Agreement, BTP "ram:URIUniversalCommunication", AtMostOnce},
    // the header delivery: deliver to (BG-13) and actual delivery date (BT-72)
    {"CII-SR-308", W, Ctx::Delivery, "ram:RelatedSupplyChainConsignment"},
    {"CII-SR-309", W, Ctx::Delivery, SHIPTO "ram:RoleCode"},
    {"CII-SR-310", W, Ctx::Delivery, SHIPTO "ram:Description"},
    {"CII-SR-311", W, Ctx::Delivery, SHIPTO "ram:SpecifiedLegalOrganization"},
    {"CII-SR-312", W, Ctx::Delivery, SHIPTO "ram:DefinedTradeContact"},
    {"CII-SR-313", W, Ctx::Delivery, SHIPTO "ram:URIUniversalCommunication"},
    {"CII-SR-314", W, Ctx::Delivery, SHIPTO "ram:SpecifiedTaxRegistration"},
    {"CII-SR-315", W, Ctx::Delivery, SHIPTO "ram:EndPointURIUniversalCommunication"},
    {"CII-SR-316", W, Ctx::Delivery, SHIPTO "ram:LogoAssociatedSpecifiedBinaryFile"},
    {"CII-SR-317", W, Ctx::Delivery, "ram:UltimateShipToTradeParty"},
    {"CII-SR-318", W, Ctx::Delivery, "ram:ShipFromTradeParty"},
    {"CII-SR-319", W, Ctx::Delivery, "ram:ActualDespatchSupplyChainEvent"},
    {"CII-SR-320", W, Ctx::Delivery, "ram:ActualPickUpSupplyChainEvent"},
    {"CII-SR-321", W, Ctx::Delivery, DELIVERY "ram:ID"},
    {"CII-SR-322", W, Ctx::Delivery, DELIVERY "ram:OccurrenceDateTime/udt:DateTime"},
    {"CII-SR-323", W, Ctx::Delivery, DELIVERY "ram:TypeCode"},
    {"CII-SR-324", W, Ctx::Delivery, DELIVERY "ram:Description"},
    {"CII-SR-325", W, Ctx::Delivery, DELIVERY "ram:DescriptionBinaryObject"},
    {"CII-SR-326", W, Ctx::Delivery, DELIVERY "ram:UnitQuantity"},
    {"CII-SR-327", W, Ctx::Delivery, DELIVERY "ram:LatestOccurrenceDateTime"},
    {"CII-SR-328", W, Ctx::Delivery, DELIVERY "ram:EarliestOccurrenceDateTime"},
    {"CII-SR-329", W, Ctx::Delivery, DELIVERY "ram:OccurrenceSpecifiedPeriod"},
    {"CII-SR-330", W, Ctx::Delivery, DELIVERY "ram:OccurrenceLogisticsLocation"},
    {"CII-SR-331", W, Ctx::Delivery, "ram:ActualReceiptSupplyChainEvent"},
    {"CII-SR-332", W, Ctx::Delivery, "ram:AdditionalReferencedDocument"},
    {"CII-SR-333", W, Ctx::Delivery, "ram:DespatchAdviceReferencedDocument/ram:LineID"},
    {"CII-SR-334", W, Ctx::Delivery, "ram:DespatchAdviceReferencedDocument/ram:LineID"},
    {"CII-SR-335", W, Ctx::Delivery, "ram:DeliveryNoteReferencedDocument"},
    {"CII-SR-336", W, Ctx::Delivery, "ram:ConsumptionReportReferencedDocument"},
    {"CII-SR-337", W, Ctx::Delivery, "ram:PreviousDeliverySupplyChainEvent"},
    {"CII-SR-338", W, Ctx::Delivery, "ram:PackingListReferencedDocument"},
    // the header settlement: payee (BG-10), payment instructions (BG-16), allowances and
    // charges (BG-20, BG-21), payment terms (BT-20) and preceding invoices (BG-3)
    {"CII-SR-339", W, Ctx::Settlement, "ram:DuePayableAmount"},
    {"CII-SR-340", W, Ctx::Settlement, "ram:CreditorReferenceTypeCode"},
    {"CII-SR-341", W, Ctx::Settlement, "ram:CreditorReferenceType"},
    {"CII-SR-342", W, Ctx::Settlement, "ram:CreditorReferenceIssuerID"},
    {"CII-SR-344", W, Ctx::Settlement, "ram:PaymentCurrencyCode"},
    {"CII-SR-345", W, Ctx::Settlement, "ram:InvoiceIssuerReference"},
    {"CII-SR-346", W, Ctx::Settlement, "ram:InvoiceDateTime"},
    {"CII-SR-347", W, Ctx::Settlement, "ram:NextInvoiceDateTime"},
    {"CII-SR-348", W, Ctx::Settlement, "ram:CreditReasonCode"},
    {"CII-SR-349", W, Ctx::Settlement, "ram:CreditReason"},
    {"CII-SR-350", W, Ctx::Settlement, "ram:InvoicerTradeParty"},
    {"CII-SR-351", W, Ctx::Settlement, "ram:InvoiceeTradeParty"},
    {"CII-SR-352", W, Ctx::Settlement, PAYEE "ram:RoleCode"},
    {"CII-SR-353", W, Ctx::Settlement, PAYEE "ram:Description"},
    {"CII-SR-354", W, Ctx::Settlement, PAYEE "ram:SpecifiedLegalOrganization/ram:LegalClassificationCode"},
    {"CII-SR-355", W, Ctx::Settlement, PAYEE "ram:SpecifiedLegalOrganization/ram:Name"},
    {"CII-SR-356", W, Ctx::Settlement, PAYEE "ram:SpecifiedLegalOrganization/ram:TradingBusinessName"},
    {"CII-SR-357", W, Ctx::Settlement, PAYEE "ram:SpecifiedLegalOrganization/ram:PostalTradeAddress"},
    {"CII-SR-358", W, Ctx::Settlement, PAYEE "ram:SpecifiedLegalOrganization/ram:AuthorizedLegalRegistration"},
    {"CII-SR-359", W, Ctx::Settlement, PAYEE "ram:DefinedTradeContact"},
    {"CII-SR-360", W, Ctx::Settlement, PAYEE "ram:PostalTradeAddress"},
    {"CII-SR-361", W, Ctx::Settlement, PAYEE "ram:URIUniversalCommunication"},
    {"CII-SR-362", W, Ctx::Settlement, PAYEE "ram:SpecifiedTaxRegistration"},
    {"CII-SR-363", W, Ctx::Settlement, PAYEE "ram:EndPointURIUniversalCommunication"},
    {"CII-SR-364", W, Ctx::Settlement, PAYEE "ram:LogoAssociatedSpecifiedBinaryFile"},
    {"CII-SR-365", W, Ctx::Settlement, "ram:PayerTradeParty"},
    {"CII-SR-366", W, Ctx::Settlement, "ram:TaxApplicableTradeCurrencyExchange"},
    {"CII-SR-367", W, Ctx::Settlement, "ram:InvoiceApplicableTradeCurrencyExchange"},
    {"CII-SR-368", W, Ctx::Settlement, "ram:PaymentApplicableTradeCurrencyExchange"},
    {"CII-SR-369", W, Ctx::Settlement, MEANS "ram:PaymentChannelCode"},
    {"CII-SR-370", W, Ctx::Settlement, MEANS "ram:GuaranteeMethodCode"},
    {"CII-SR-371", W, Ctx::Settlement, MEANS "ram:PaymentMethodCode"},
    {"CII-SR-443", W, Ctx::Settlement, MEANS "ram:ID"},
    {"CII-SR-372", W, Ctx::Settlement, CARD "ram:MicrochipIndicator"},
    {"CII-SR-373", W, Ctx::Settlement, CARD "ram:TypeCode"},
    {"CII-SR-375", W, Ctx::Settlement, CARD "ram:ExpiryDate"},
    {"CII-SR-376", W, Ctx::Settlement, CARD "ram:VerificationNumeric"},
    {"CII-SR-377", W, Ctx::Settlement, CARD "ram:ValidFromDateTime"},
    {"CII-SR-378", W, Ctx::Settlement, CARD "ram:CreditLimitAmount"},
    {"CII-SR-379", W, Ctx::Settlement, CARD "ram:CreditAvailableAmount"},
    {"CII-SR-380", W, Ctx::Settlement, CARD "ram:InterestRatePercent"},
    {"CII-SR-381", W, Ctx::Settlement, CARD "ram:Description"},
    {"CII-SR-382", W, Ctx::Settlement, MEANS "ram:PayerPartyDebtorFinancialAccount/ram:AccountName"},
    {"CII-SR-444", W, Ctx::Settlement, MEANS "ram:PayerPartyDebtorFinancialAccount/ram:ProprietaryID"},
    {"CII-SR-384", W, Ctx::Settlement, MEANS "ram:PayerSpecifiedDebtorFinancialInstitution/ram:ClearingSystemName"},
    {"CII-SR-385", W, Ctx::Settlement, MEANS "ram:PayerSpecifiedDebtorFinancialInstitution/ram:Name"},
    {"CII-SR-386", W, Ctx::Settlement,
     MEANS "ram:PayerSpecifiedDebtorFinancialInstitution/ram:LocationFinancialInstitutionAddress"},
    // the buyer's bank of a direct debit; the mandate needs only the debited account (BT-91)
    {"CII-SR-464", W, Ctx::PaymentMeans, "ram:PayerSpecifiedDebtorFinancialInstitution"},
    {"CII-SR-388", W, Ctx::Settlement, "ram:SpecifiedTradeAllowanceCharge/ram:ID"},
    {"CII-SR-389", W, Ctx::Settlement, "ram:SpecifiedTradeAllowanceCharge/ram:SequenceNumeric"},
    {"CII-SR-390", W, Ctx::Settlement, "ram:SpecifiedTradeAllowanceCharge/ram:BasisQuantity"},
    {"CII-SR-391", W, Ctx::Settlement, "ram:SpecifiedTradeAllowanceCharge/ram:PrepaidIndicator"},
    {"CII-SR-392", W, Ctx::Settlement, "ram:SpecifiedTradeAllowanceCharge/ram:UnitBasisAmount"},
    {"CII-SR-393", W, Ctx::Settlement, "ram:SpecifiedTradeAllowanceCharge/ram:TypeCode"},
    {"CII-SR-394", W, Ctx::Settlement, "ram:SpecifiedTradeAllowanceCharge/ram:ActualTradeCurrencyExchange"},
    {"CII-SR-395", W, Ctx::Settlement, "ram:SubtotalCalculatedTradeTax"},
    {"CII-SR-396", W, Ctx::Settlement, "ram:SpecifiedLogisticsServiceCharge"},
    {"CII-SR-397", W, Ctx::Settlement, TERMS "ram:ID"},
    {"CII-SR-398", W, Ctx::Settlement, TERMS "ram:FromEventCode"},
    {"CII-SR-399", W, Ctx::Settlement, TERMS "ram:SettlementPeriodMeasure"},
    {"CII-SR-400", W, Ctx::Settlement, TERMS "ram:DueDateDateTime/udt:DateTime"},
    {"CII-SR-401", W, Ctx::Settlement, TERMS "ram:TypeCode"},
    {"CII-SR-402", W, Ctx::Settlement, TERMS "ram:InstructionTypeCode"},
    {"CII-SR-404", W, Ctx::Settlement, TERMS "ram:PartialPaymentPercent"},
    {"CII-SR-405", W, Ctx::Settlement, TERMS "ram:PaymentMeansID"},
    {"CII-SR-406", W, Ctx::Settlement, TERMS "ram:PartialPaymentAmount"},
    {"CII-SR-407", W, Ctx::Settlement, TERMS "ram:ApplicableTradePaymentPenaltyTerms"},
    {"CII-SR-408", W, Ctx::Settlement, TERMS "ram:ApplicableTradePaymentDiscountTerms"},
    {"CII-SR-409", W, Ctx::Settlement, TERMS "ram:PayeeTradeParty"},
    {"CII-SR-421", W, Ctx::Settlement, "ram:SpecifiedFinancialAdjustment"},
    {"CII-SR-422", W, Ctx::Settlement, "ram:InvoiceReferencedDocument/ram:LineID"},
    {"CII-SR-423", W, Ctx::Settlement, "ram:ProFormaInvoiceReferencedDocument"},
    {"CII-SR-424", W, Ctx::Settlement, "ram:LetterOfCreditReferencedDocument"},
    {"CII-SR-425", W, Ctx::Settlement, "ram:FactoringAgreementReferencedDocument"},
    {"CII-SR-426", W, Ctx::Settlement, "ram:FactoringListReferencedDocument"},
    {"CII-SR-427", W, Ctx::Settlement, "ram:PayableSpecifiedTradeAccountingAccount"},
    {"CII-SR-428", W, Ctx::Settlement, RECEIVABLE "ram:SetTriggerCode"},
    {"CII-SR-429", W, Ctx::Settlement, RECEIVABLE "ram:TypeCode"},
    {"CII-SR-430", W, Ctx::Settlement, RECEIVABLE "ram:AmountTypeCode"},
    {"CII-SR-431", W, Ctx::Settlement, RECEIVABLE "ram:Name"},
    {"CII-SR-432", W, Ctx::Settlement, RECEIVABLE "ram:CostReferenceDimensionPattern"},
    {"CII-SR-433", W, Ctx::Settlement, "ram:PurchaseSpecifiedTradeAccountingAccount"},
    {"CII-SR-434", W, Ctx::Settlement, "ram:SalesSpecifiedTradeAccountingAccount"},
    {"CII-SR-435", W, Ctx::Settlement, "ram:SpecifiedTradeSettlementFinancialCard"},
    {"CII-SR-436", W, Ctx::Settlement, "ram:SpecifiedAdvancePayment"},
    {"CII-SR-437", W, Ctx::Settlement, "ram:UltimatePayeeTradeParty"},
    {"CII-SR-452", W, Ctx::Settlement, "ram:SpecifiedTradePaymentTerms", AtMostOnce},
    {"CII-SR-453", W, Ctx::Settlement, TERMS "ram:Description", AtMostOnce},
    // the document totals (BG-22)
    {"CII-SR-411", W, Ctx::Summation, "ram:InformationAmount"},
    {"CII-SR-412", W, Ctx::Summation, "ram:TotalDiscountAmount"},
    {"CII-SR-413", W, Ctx::Summation, "ram:TotalAllowanceChargeAmount"},
    {"CII-SR-414", W, Ctx::Summation, "ram:RetailValueExcludingTaxInformationAmount"},
    {"CII-SR-415", W, Ctx::Summation, "ram:TotalDepositFeeInformationAmount"},
    {"CII-SR-416", W, Ctx::Summation, "ram:ProductValueExcludingTobaccoTaxInformationAmount"},
    {"CII-SR-417", W, Ctx::Summation, "ram:TotalRetailValueInformationAmount"},
    {"CII-SR-418", W, Ctx::Summation, "ram:GrossLineTotalAmount"},
    {"CII-SR-419", W, Ctx::Summation, "ram:NetLineTotalAmount"},
    {"CII-SR-420", W, Ctx::Summation, "ram:NetIncludingTaxesLineTotalAmount"},
    // each amount of the document totals (BG-22) other than the VAT total, which may be given
    // in two currencies, occurs once; the ids follow the elements in the schema's order
    {"CII-SR-477", F, Ctx::Summation, "ram:LineTotalAmount", AtMostOnce},
    {"CII-SR-478", F, Ctx::Summation, "ram:ChargeTotalAmount", AtMostOnce},
    {"CII-SR-479", F, Ctx::Summation, "ram:AllowanceTotalAmount", AtMostOnce},
    {"CII-SR-480", F, Ctx::Summation, "ram:TaxBasisTotalAmount", AtMostOnce},
    {"CII-SR-481", F, Ctx::Summation, "ram:RoundingAmount", AtMostOnce},
    {"CII-SR-482", F, Ctx::Summation, "ram:GrandTotalAmount", AtMostOnce},
    {"CII-SR-483", F, Ctx::Summation, "ram:InformationAmount", AtMostOnce},
    {"CII-SR-484", F, Ctx::Summation, "ram:TotalPrepaidAmount", AtMostOnce},
    {"CII-SR-485", F, Ctx::Summation, "ram:TotalDiscountAmount", AtMostOnce},
    {"CII-SR-486", F, Ctx::Summation, "ram:TotalAllowanceChargeAmount", AtMostOnce},
    {"CII-SR-487", F, Ctx::Summation, "ram:DuePayableAmount", AtMostOnce},
    {"CII-SR-488", F, Ctx::Summation, "ram:RetailValueExcludingTaxInformationAmount", AtMostOnce},
    {"CII-SR-489", F, Ctx::Summation, "ram:TotalDepositFeeInformationAmount", AtMostOnce},
    {"CII-SR-490", F, Ctx::Summation, "ram:ProductValueExcludingTobaccoTaxInformationAmount", AtMostOnce},
    {"CII-SR-491", F, Ctx::Summation, "ram:TotalRetailValueInformationAmount", AtMostOnce},
    {"CII-SR-492", F, Ctx::Summation, "ram:GrossLineTotalAmount", AtMostOnce},
    {"CII-SR-493", F, Ctx::Summation, "ram:NetLineTotalAmount", AtMostOnce},
    {"CII-SR-494", F, Ctx::Summation, "ram:NetIncludingTaxesLineTotalAmount", AtMostOnce},
    // an allowance or charge has one VAT category (BT-95, BT-102) and one amount (BT-92, BT-99,
    // BT-136, BT-141). CII-SR-471 counts a rate directly below the allowance, where the schema
    // puts none (the rate, BT-96/BT-103, sits in its VAT category): it holds for every valid
    // invoice and fires only on a stray element.
    {"CII-SR-471", F, Ctx::AllowanceCharge, "ram:RateApplicablePercent", AtMostOnce},
    {"CII-SR-472", F, Ctx::AllowanceCharge, "ram:CategoryTradeTax", AtMostOnce},
    {"CII-SR-473", F, Ctx::AllowanceCharge, "ram:ActualAmount", AtMostOnce},
    // the root
    {"CII-SR-438", W, Ctx::Root, "ram:ValuationBreakdownStatement"},
    {"CII-DT-013", F, Ctx::Root, "@languageID"},
    {"CII-DT-014", F, Ctx::Root, "@languageLocaleID"},
    // the identifiers that take no attribute at all
    {"CII-DT-001", F, Ctx::PlainId, "@schemeName"},
    {"CII-DT-002", F, Ctx::PlainId, "@schemeAgencyName"},
    {"CII-DT-003", F, Ctx::PlainId, "@schemeDataURI"},
    {"CII-DT-004", F, Ctx::PlainId, "@schemeURI"},
    {"CII-DT-005", F, Ctx::PlainId, "@schemeID"},
    {"CII-DT-006", F, Ctx::PlainId, "@schemeAgencyID"},
    {"CII-DT-007", F, Ctx::PlainId, "@schemeVersionID"},
    // the VAT category code of a line (BT-151)
    {"CII-DT-045", W, Ctx::LineSettlement, "ram:ApplicableTradeTax/ram:CategoryCode/@listID"},
    {"CII-DT-046", W, Ctx::LineSettlement, "ram:ApplicableTradeTax/ram:CategoryCode/@listAgencyID"},
    {"CII-DT-047", W, Ctx::LineSettlement, "ram:ApplicableTradeTax/ram:CategoryCode/@listVersionID"},
    {"CII-DT-048", W, Ctx::LineSettlement, "ram:ApplicableTradeTax/ram:CategoryCode/@listURI"},
};
// clang-format on

#undef STP
#undef BTP
#undef STRTP
#undef PAYEE
#undef SCONTACT
#undef BCONTACT
#undef NET
#undef CHARACTERISTIC
#undef CLASSIFICATION
#undef LINEAC
#undef LINESUM
#undef RECEIVABLE
#undef SHIPTO
#undef DELIVERY
#undef MEANS
#undef CARD
#undef TERMS

// When a data type's element may hold a child after all.
enum class Unless {
    Never,
    InHeaderSettlement,   // the element lies in the header settlement
    OnApplicableTradeTax, // the element is a VAT breakdown or a line's VAT (BT-120, BT-121)
    AttachedDocument,     // a supporting document with type code 916 (BG-24)
    ObjectReference,      // a supporting document with type code 130 (BT-18)
    TypedDocument,        // a supporting document with type code 50, 130 or 916
    InvoiceReference,     // a preceding invoice (BG-3), which has its issue date
};

// A child an element of a data type does not take: an element, an element of the
// unqualified data types below it, or an attribute of it.
struct ChildRule
{
    const char *id;
    FindingFlag flag;
    const char *child;
    const char *below = nullptr;     // an udt element below the child
    const char *attribute = nullptr; // an attribute of the child
    Unless unless = Unless::Never;
};

// Every element whose name ends in TradeTax: a VAT breakdown, a line's VAT, the VAT of an
// allowance or charge.
constexpr ChildRule TaxChildren[] = {
    {"CII-DT-038", W, "CalculatedRate"},
    {"CII-DT-039", W, "CalculationSequenceNumeric"},
    {"CII-DT-040", W, "BasisQuantity"},
    {"CII-DT-041", W, "BasisAmount", nullptr, nullptr, Unless::InHeaderSettlement},
    {"CII-DT-042", W, "UnitBasisAmount"},
    {"CII-DT-043", W, "LineTotalBasisAmount"},
    {"CII-DT-044", W, "AllowanceChargeBasisAmount"},
    {"CII-DT-049", W, "CurrencyCode"},
    {"CII-DT-050", W, "Jurisdiction"},
    {"CII-DT-051", W, "CustomsDutyIndicator"},
    {"CII-DT-052", W, "ExemptionReasonCode", nullptr, nullptr, Unless::OnApplicableTradeTax},
    {"CII-DT-098", W, "ExemptionReason", nullptr, nullptr, Unless::OnApplicableTradeTax},
    {"CII-DT-053", W, "TaxBasisAllowanceRate"},
    {"CII-DT-054", W, "TaxPointDate", nullptr, nullptr, Unless::InHeaderSettlement},
    {"CII-DT-055", W, "Type"},
    {"CII-DT-056", W, "InformationAmount"},
    {"CII-DT-057", W, "CategoryName"},
    {"CII-DT-058", W, "DueDateTypeCode", nullptr, nullptr, Unless::InHeaderSettlement},
    {"CII-DT-059", W, "RateApplicablePercent", nullptr, "format"},
    {"CII-DT-060", W, "SpecifiedTradeAccountingAccount"},
    {"CII-DT-061", W, "ServiceSupplyTradeCountry"},
    {"CII-DT-062", W, "BuyerRepayableTaxSpecifiedTradeAccountingAccount"},
    {"CII-DT-063", W, "SellerPayableTaxSpecifiedTradeAccountingAccount"},
    {"CII-DT-064", W, "SellerRefundableTaxSpecifiedTradeAccountingAccount"},
    {"CII-DT-065", W, "BuyerDeductibleTaxSpecifiedTradeAccountingAccount"},
    {"CII-DT-066", W, "BuyerNonDeductibleTaxSpecifiedTradeAccountingAccount"},
    {"CII-DT-067", W, "PlaceApplicableTradeLocation"},
};

// Every element whose name ends in ReferencedDocument: a reference carries its identifier
// and, where the model has one, a date; supporting documents (BG-24) a little more.
constexpr ChildRule DocumentChildren[] = {
    {"CII-DT-015", F, "URIID", nullptr, nullptr, Unless::AttachedDocument},
    {"CII-DT-016", F, "StatusCode"},
    {"CII-DT-017", F, "CopyIndicator"},
    {"CII-DT-018", F, "TypeCode", nullptr, nullptr, Unless::TypedDocument},
    {"CII-DT-019", F, "GlobalID"},
    {"CII-DT-020", F, "RevisionID"},
    {"CII-DT-021", F, "Name", nullptr, nullptr, Unless::AttachedDocument},
    {"CII-DT-022", F, "AttachmentBinaryObject", nullptr, nullptr, Unless::AttachedDocument},
    {"CII-DT-023", F, "Information"},
    {"CII-DT-024", F, "ReferenceTypeCode", nullptr, nullptr, Unless::ObjectReference},
    {"CII-DT-025", F, "SectionName"},
    {"CII-DT-026", F, "PreviousRevisionID"},
    {"CII-DT-027", F, "FormattedIssueDateTime", nullptr, nullptr, Unless::InvoiceReference},
    {"CII-DT-028", F, "EffectiveSpecifiedPeriod"},
    {"CII-DT-029", F, "IssuerTradeParty"},
    {"CII-DT-030", F, "AttachedSpecifiedBinaryFile"},
};

// Every invoicing period (BG-14, BG-26): a start and an end date.
constexpr ChildRule PeriodChildren[] = {
    {"CII-DT-068", F, "StartDateTime", "DateTime"},
    {"CII-DT-069", F, "DurationMeasure"},
    {"CII-DT-070", F, "InclusiveIndicator"},
    {"CII-DT-071", F, "Description"},
    {"CII-DT-072", F, "EndDateTime", "DateTime"},
    {"CII-DT-073", F, "CompleteDateTime"},
    {"CII-DT-074", F, "OpenIndicator"},
    {"CII-DT-075", F, "SeasonCode"},
    {"CII-DT-076", F, "ID"},
    {"CII-DT-077", F, "Name"},
    {"CII-DT-078", F, "SequenceNumeric"},
    {"CII-DT-079", F, "StartDateFlexibilityCode"},
    {"CII-DT-080", F, "ContinuousIndicator"},
    {"CII-DT-081", F, "PurposeCode"},
};

// Every postal address: three lines, city, post code, subdivision and country.
constexpr ChildRule AddressChildren[] = {
    {"CII-DT-082", F, "ID"},
    {"CII-DT-083", F, "PostOfficeBox"},
    {"CII-DT-084", F, "BuildingName"},
    {"CII-DT-086", F, "LineFour"},
    {"CII-DT-087", F, "LineFive"},
    {"CII-DT-088", F, "StreetName"},
    {"CII-DT-089", F, "CitySubDivisionName"},
    {"CII-DT-090", F, "CountryName"},
    {"CII-DT-091", F, "CountrySubDivisionID"},
    {"CII-DT-092", F, "AttentionOf"},
    {"CII-DT-093", F, "CareOf"},
    {"CII-DT-094", F, "BuildingNumber"},
    {"CII-DT-095", F, "DepartmentName"},
    {"CII-DT-096", F, "AdditionalStreetName"},
};

// An attribute an element of a data type does not take.
struct AttributeRule
{
    const char *id;
    FindingFlag flag;
    const char *attribute;
};

// identifiers other than the four that take none: a scheme identifier and its version only
constexpr AttributeRule IdAttributes[] = {
    {"CII-DT-101", F, "schemeName"},
    {"CII-DT-102", F, "schemeAgencyName"},
    {"CII-DT-103", F, "schemeDataURI"},
    {"CII-DT-104", F, "schemeURI"},
};
constexpr AttributeRule TypeCodeAttributes[] = {
    {"CII-DT-008", F, "name"},
    {"CII-DT-009", F, "listURI"},
};
// Amounts are in the invoice currency (BT-5); only the VAT total names its currency, to
// tell the VAT total in accounting currency (BT-111) apart.
constexpr AttributeRule AmountAttributes[] = {
    {"CII-DT-031", F, "currencyID"},
    {"CII-DT-032", F, "currencyCodeListVersionID"},
};
// and the unit code (CII-DT-033), allowed where the lines' quantities have theirs
constexpr AttributeRule QuantityAttributes[] = {
    {"CII-DT-034", F, "unitCodeListID"},
    {"CII-DT-035", F, "unitCodeListAgencyID"},
    {"CII-DT-036", F, "unitCodeListAgencyName"},
};

bool named(const xmlNode *node, const char *ns, const char *name)
{
    return node && node->type == XML_ELEMENT_NODE && node->ns && xmlStrEqual(node->name, BAD_CAST name) &&
           std::strcmp(reinterpret_cast<const char *>(node->ns->href), ns) == 0;
}

bool endsWith(std::string_view name, std::string_view suffix)
{
    return name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
}

// The element or attribute with its parent, as the messages name it.
QString label(const xmlNode *node)
{
    const xmlNode *parent = node->parent;
    if (parent && parent->type == XML_ELEMENT_NODE)
        return NameOf(parent) + QLatin1Char('/') + NameOf(node);
    return NameOf(node);
}

xmlAttr *attribute(xmlNode *node, const char *name)
{
    return xmlHasNsProp(node, BAD_CAST name, nullptr);
}

// Whether a namespace is one of ours: elements share their declaration's, so after the
// first full compare most are told by the pointer.
class Namespaces
{
public:
    bool is(const xmlNs *ns, const char *uri)
    {
        for (size_t i = 0; i < std::size(m_uris); ++i)
            if (m_uris[i] == uri) {
                if (m_known[i] == ns)
                    return true;
                if (std::strcmp(reinterpret_cast<const char *>(ns->href), uri) != 0)
                    return false;
                m_known[i] = ns;
                return true;
            }
        return std::strcmp(reinterpret_cast<const char *>(ns->href), uri) == 0;
    }

private:
    const char *m_uris[4] = {RsmNs, RamNs, UdtNs, QdtNs};
    const xmlNs *m_known[4] = {};
};

using Failure = std::pair<xmlNode *, QStringList>;
using Failures = std::unordered_map<std::string_view, std::vector<Failure>>;

void report(Failures &out, const char *id, xmlNode *node)
{
    out[id].emplace_back(node, QStringList{label(node)});
}

// The table's paths as one tree from the root: each node names an element, the attributes
// asked for on it, the rows whose path ends there and the counted rows that start there.
struct TreeNode
{
    const char *ns = nullptr;
    std::vector<std::pair<std::string, int>> children; // by name, sorted
    std::vector<std::pair<std::string, std::vector<int>>> attributes;
    std::vector<int> rows;
    std::vector<int> starts;
};

struct Tree
{
    std::vector<TreeNode> nodes;
    std::vector<int> depth; // element steps of each row's path
};

const char *namespaceOf(std::string_view prefix)
{
    if (prefix == "rsm")
        return RsmNs;
    if (prefix == "udt")
        return UdtNs;
    if (prefix == "qdt")
        return QdtNs;
    return RamNs;
}

int childOf(Tree &tree, int at, std::string_view step)
{
    const size_t colon = step.find(':');
    const std::string name(step.substr(colon + 1));
    for (const auto &[known, index] : tree.nodes[at].children)
        if (known == name)
            return index;
    const int index = static_cast<int>(tree.nodes.size());
    tree.nodes.emplace_back();
    tree.nodes.back().ns = namespaceOf(step.substr(0, colon));
    tree.nodes[at].children.emplace_back(name, index);
    return index;
}

// Follows a path's element steps from a node of the tree, adding the missing ones; an
// attribute step is left over and returned.
std::pair<int, std::string_view> follow(Tree &tree, int at, std::string_view path, int &steps)
{
    while (!path.empty()) {
        const size_t slash = path.find('/');
        const std::string_view step = path.substr(0, slash);
        if (step.front() == '@')
            return {at, step.substr(1)};
        at = childOf(tree, at, step);
        ++steps;
        path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
    }
    return {at, {}};
}

const Tree &table()
{
    static const Tree built = [] {
        Tree tree;
        tree.nodes.emplace_back();
        tree.nodes[0].ns = RsmNs;
        tree.depth.resize(std::size(Rows));
        for (size_t r = 0; r < std::size(Rows); ++r) {
            const Row &row = Rows[r];
            for (const char *start : ContextPaths[static_cast<size_t>(row.ctx)]) {
                if (!start)
                    break;
                int steps = 0;
                const int from = follow(tree, 0, start, steps).first;
                if (row.times != Times::None)
                    tree.nodes[from].starts.push_back(static_cast<int>(r));
                steps = 0;
                const auto found = follow(tree, from, row.path, steps);
                const int at = found.first;
                const auto &attributeName = found.second;
                tree.depth[r] = steps;
                if (attributeName.empty()) {
                    tree.nodes[at].rows.push_back(static_cast<int>(r));
                    continue;
                }
                auto &attributes = tree.nodes[at].attributes;
                auto it = std::find_if(attributes.begin(), attributes.end(),
                                       [&](const auto &a) { return a.first == attributeName; });
                if (it == attributes.end())
                    it = attributes.insert(attributes.end(), {std::string(attributeName), {}});
                it->second.push_back(static_cast<int>(r));
            }
        }
        for (TreeNode &node : tree.nodes)
            std::sort(node.children.begin(), node.children.end());
        return tree;
    }();
    return built;
}

struct Found
{
    std::vector<Nodes> rows;   // per row, the elements or attributes on its path
    std::vector<Nodes> starts; // per counted row, the elements it starts from
    Namespaces namespaces;
};

// Descends only into the children the tree names; the depth is the tree's, not the
// document's.
void walk(const Tree &tree, int at, xmlNode *node, Found &found)
{
    const TreeNode &here = tree.nodes[at];
    for (int r : here.starts)
        found.starts[r].push_back(node);
    for (int r : here.rows)
        found.rows[r].push_back(node);
    for (const auto &[name, rows] : here.attributes)
        if (xmlAttr *a = attribute(node, name.c_str()))
            for (int r : rows)
                found.rows[r].push_back(reinterpret_cast<xmlNode *>(a));
    if (here.children.empty())
        return;
    for (xmlNode *child = node->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !child->ns)
            continue;
        const char *name = reinterpret_cast<const char *>(child->name);
        const auto it = std::lower_bound(
            here.children.begin(), here.children.end(), name,
            [](const auto &c, const char *n) { return std::strcmp(c.first.c_str(), n) < 0; });
        if (it == here.children.end() || std::strcmp(it->first.c_str(), name) != 0)
            continue;
        if (!found.namespaces.is(child->ns, tree.nodes[it->second].ns))
            continue;
        walk(tree, it->second, child, found);
    }
}

xmlNode *up(xmlNode *node, int steps)
{
    for (; steps > 0 && node; --steps)
        node = node->parent;
    return node;
}

// The rows' findings: every occurrence of an element not used; of a counted element, each
// one too many, and a missing one at the element it belongs in.
void tableFindings(xmlNode *root, Failures &out)
{
    const Tree &tree = table();
    Found found{std::vector<Nodes>(std::size(Rows)), std::vector<Nodes>(std::size(Rows)), {}};
    walk(tree, 0, root, found);
    for (size_t r = 0; r < std::size(Rows); ++r) {
        const Row &row = Rows[r];
        const Nodes &nodes = found.rows[r];
        if (row.times == Times::None) {
            for (xmlNode *node : nodes)
                report(out, row.id, node);
            continue;
        }
        // Both lists are in document order, so each starting element's occurrences follow
        // one another.
        size_t next = 0;
        for (xmlNode *start : found.starts[r]) {
            size_t end = next;
            while (end < nodes.size() && up(nodes[end], tree.depth[r]) == start)
                ++end;
            const QString times = QString::number(end - next);
            if (end == next && row.times == Times::ExactlyOnce)
                out[row.id].emplace_back(
                    start,
                    QStringList{NameOf(start) + QLatin1Char('/') + QString::fromLatin1(row.path), times});
            for (size_t i = next + 1; i < end; ++i)
                out[row.id].emplace_back(nodes[i], QStringList{label(nodes[i]), times});
            next = end;
        }
    }
}

bool isLine(const xmlNode *node, const xmlNode *root)
{
    return named(node, RamNs, "IncludedSupplyChainTradeLineItem") &&
           named(node->parent, RsmNs, "SupplyChainTradeTransaction") && node->parent->parent == root;
}

// The four identifiers the table checks for every attribute; the others are checked here.
bool isPlainId(const xmlNode *node, const xmlNode *root)
{
    const xmlNode *parent = node->parent;
    if (xmlStrEqual(node->name, BAD_CAST "ID"))
        return (named(parent, RsmNs, "ExchangedDocument") && parent->parent == root) ||
               (named(parent, RamNs, "GuidelineSpecifiedDocumentContextParameter") &&
                named(parent->parent, RsmNs, "ExchangedDocumentContext") && parent->parent->parent == root);
    if (xmlStrEqual(node->name, BAD_CAST "LineID"))
        return named(parent, RamNs, "AssociatedDocumentLineDocument") && isLine(parent->parent, root);
    if (xmlStrEqual(node->name, BAD_CAST "SellerAssignedID"))
        return named(parent, RamNs, "SpecifiedTradeProduct") && isLine(parent->parent, root);
    return false;
}

bool hasTypeCode(xmlNode *document, const char *code)
{
    for (xmlNode *child = document->children; child; child = child->next)
        if (named(child, RamNs, "TypeCode") && RawText(child) == QLatin1String(code))
            return true;
    return false;
}

// The element whose children are checked, with what its exceptions ask about it, each
// worked out once: a hostile file with many children costs no more than one pass each.
struct Holder
{
    xmlNode *node;
    bool inHeaderSettlement;
    int typeCodes = -1; // of a supporting document: bit 0 for 50, 1 for 130, 2 for 916

    bool has(int code)
    {
        if (typeCodes < 0) {
            typeCodes = 0;
            if (xmlStrEqual(node->name, BAD_CAST "AdditionalReferencedDocument"))
                for (xmlNode *child = node->children; child; child = child->next)
                    if (named(child, RamNs, "TypeCode")) {
                        const QString code = RawText(child);
                        typeCodes |= code == QLatin1String("50")    ? 1
                                     : code == QLatin1String("130") ? 2
                                     : code == QLatin1String("916") ? 4
                                                                    : 0;
                    }
        }
        return typeCodes & code;
    }
};

bool allowed(Holder &holder, Unless unless)
{
    switch (unless) {
    case Unless::Never:
        return false;
    case Unless::InHeaderSettlement:
        return holder.inHeaderSettlement;
    case Unless::OnApplicableTradeTax:
        return xmlStrEqual(holder.node->name, BAD_CAST "ApplicableTradeTax");
    case Unless::AttachedDocument:
        return holder.has(4);
    case Unless::ObjectReference:
        return holder.has(2);
    case Unless::TypedDocument:
        return holder.has(1 | 2 | 4);
    case Unless::InvoiceReference:
        return xmlStrEqual(holder.node->name, BAD_CAST "InvoiceReferencedDocument");
    }
    return false;
}

template <size_t N>
void childFindings(xmlNode *node, bool inHeaderSettlement, const ChildRule (&rules)[N], Failures &out)
{
    Holder holder{node, inHeaderSettlement};
    for (xmlNode *child = node->children; child; child = child->next) {
        if (!child->ns || child->type != XML_ELEMENT_NODE)
            continue;
        for (const ChildRule &rule : rules) {
            // the first letter tells most names apart without a call
            if (child->name[0] != rule.child[0] || !xmlStrEqual(child->name, BAD_CAST rule.child) ||
                std::strcmp(reinterpret_cast<const char *>(child->ns->href), RamNs) != 0 ||
                allowed(holder, rule.unless))
                continue;
            if (rule.attribute) {
                if (xmlAttr *a = attribute(child, rule.attribute))
                    report(out, rule.id, reinterpret_cast<xmlNode *>(a));
            } else if (rule.below) {
                for (xmlNode *below = child->children; below; below = below->next)
                    if (named(below, UdtNs, rule.below))
                        report(out, rule.id, below);
            } else {
                report(out, rule.id, child);
            }
        }
    }
}

template <size_t N> void attributeFindings(xmlNode *node, const AttributeRule (&rules)[N], Failures &out)
{
    for (const AttributeRule &rule : rules)
        if (xmlAttr *a = attribute(node, rule.attribute))
            report(out, rule.id, reinterpret_cast<xmlNode *>(a));
}

// A date in format 102 (BT-2, BT-7, BT-9, …): CCYYMMDD with a month and a day that can be,
// white space around it allowed.
bool isDate102(const QString &text)
{
    const auto blank = [](QChar ch) {
        return ch == QLatin1Char(' ') || ch == QLatin1Char('\t') || ch == QLatin1Char('\n') ||
               ch == QLatin1Char('\r');
    };
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    if (to - from != 8)
        return false;
    // The year may be written in any decimal digits Unicode knows, as a regular
    // expression's \d takes them; month and day in the digits 0 to 9.
    for (qsizetype i = from; i < from + 4; ++i)
        if (!text[i].isDigit())
            return false;
    for (qsizetype i = from + 4; i < to; ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return false;
    const int month = text.mid(from + 4, 2).toInt();
    const int day = text.mid(from + 6, 2).toInt();
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

// The data type rules, in one walk over every element; without recursion, so that no
// nesting depth can exhaust the stack.
void dataTypeFindings(xmlNode *root, Failures &out)
{
    Namespaces namespaces;
    Nodes unitCodes;
    bool linesHaveUnits = false;
    Nodes dueDateCodes;
    bool headerSettlement = false;
    xmlNode *settlement = nullptr; // the header settlement the walk is in, if any
    xmlNode *node = root->children;
    while (node && node != root) {
        if (node->type == XML_ELEMENT_NODE && node->ns) {
            const std::string_view name(reinterpret_cast<const char *>(node->name));
            if (namespaces.is(node->ns, RamNs)) {
                if (endsWith(name, "ID")) {
                    if (!isPlainId(node, root))
                        attributeFindings(node, IdAttributes, out);
                } else if (name == "TypeCode") {
                    // The invoice type code is a type code too, and as such is checked here
                    // first: the rules CII-DT-010 to -012 for it alone never come to it.
                    attributeFindings(node, TypeCodeAttributes, out);
                } else if (endsWith(name, "Amount")) {
                    if (name != "TaxTotalAmount")
                        attributeFindings(node, AmountAttributes, out);
                } else if (endsWith(name, "Quantity")) {
                    if (xmlAttr *unit = attribute(node, "unitCode")) {
                        unitCodes.push_back(reinterpret_cast<xmlNode *>(unit));
                        linesHaveUnits =
                            linesHaveUnits || (name == "BilledQuantity" &&
                                               named(node->parent, RamNs, "SpecifiedLineTradeDelivery") &&
                                               isLine(node->parent->parent, root));
                    }
                    attributeFindings(node, QuantityAttributes, out);
                } else if (endsWith(name, "TradeTax")) {
                    childFindings(node, settlement != nullptr, TaxChildren, out);
                    // A tax that names its type names VAT (BT-118, BT-151, BT-95, BT-102).
                    xmlNode *type = nullptr;
                    bool vat = false;
                    for (xmlNode *child = node->children; child && !vat; child = child->next)
                        if (named(child, RamNs, "TypeCode")) {
                            type = type ? type : child;
                            vat = RawText(child) == QLatin1String("VAT");
                        }
                    if (type && !vat)
                        out["CII-DT-037"].emplace_back(type, QStringList{Text(type)});
                } else if (endsWith(name, "ReferencedDocument")) {
                    childFindings(node, settlement != nullptr, DocumentChildren, out);
                } else if (name == "BillingSpecifiedPeriod") {
                    childFindings(node, settlement != nullptr, PeriodChildren, out);
                } else if (name == "PostalTradeAddress") {
                    childFindings(node, settlement != nullptr, AddressChildren, out);
                } else if (name == "SpecifiedTradeAllowanceCharge") {
                    // Whether an allowance or a charge is meant is always said.
                    if (!First(node, "ram:ChargeIndicator"))
                        out["CII-SR-463"].emplace_back(node, QStringList{label(node)});
                } else if (name == "DueDateTypeCode") {
                    if (named(node->parent, RamNs, "ApplicableTradeTax"))
                        dueDateCodes.push_back(node);
                } else if (name == "ApplicableHeaderTradeSettlement") {
                    settlement = settlement ? settlement : node;
                    headerSettlement =
                        headerSettlement || (named(node->parent, RsmNs, "SupplyChainTradeTransaction") &&
                                             node->parent->parent == root);
                }
            } else if (name == "DateTimeString" && namespaces.is(node->ns, UdtNs)) {
                xmlAttr *format = attribute(node, "format");
                if (format && RawText(reinterpret_cast<xmlNode *>(format)) == QLatin1String("102") &&
                    !isDate102(RawText(node)))
                    out["CII-DT-097"].emplace_back(node, QStringList{RawText(node).trimmed()});
            }
            if (node->children) {
                node = node->children;
                continue;
            }
        }
        // leaving the header settlement, by its next sibling or its parent
        while (node != root && !node->next) {
            if (node == settlement)
                settlement = nullptr;
            node = node->parent;
        }
        if (node == settlement)
            settlement = nullptr;
        if (node != root)
            node = node->next;
    }
    // A unit code on quantities other than the invoiced one (BT-130) is allowed only where
    // the lines give theirs.
    if (!linesHaveUnits)
        for (xmlNode *unit : unitCodes)
            report(out, "CII-DT-033", unit);
    // BT-8: one code for the whole invoice, however often it is repeated.
    if (headerSettlement)
        for (xmlNode *code : dueDateCodes)
            if (RawText(code) != RawText(dueDateCodes.front())) {
                out["CII-SR-462"].emplace_back(code,
                                               QStringList{RawText(dueDateCodes.front()), RawText(code)});
                break;
            }
}

Failures allFindings(xmlNode *root)
{
    Failures out;
    tableFindings(root, out);
    dataTypeFindings(root, out);
    return out;
}

// The test of every rule of the tables: the document is walked once for all of them.
bool reported(RuleContext &c)
{
    const Failures &all = c.doc.once<Failures>("cii-syntax", [&c] { return allFindings(c.doc.root); });
    if (const auto it = all.find(c.rule->id); it != all.end())
        for (const auto &[node, values] : it->second)
            c.fail(node, values);
    return true;
}

// The rules of the data type walk that are no rows of its tables.
constexpr AttributeRule WalkRules[] = {
    {"CII-DT-033", F, nullptr}, {"CII-DT-037", F, nullptr}, {"CII-DT-097", F, nullptr},
    {"CII-SR-462", F, nullptr}, {"CII-SR-463", F, nullptr},
};

// A contact point (BG-6, BG-9) names either a person or a department: both is one too many.
bool contactNamesOne(RuleContext &c, const char *contacts)
{
    for (xmlNode *contact : c.all(contacts))
        if (First(contact, "ram:PersonName"))
            if (xmlNode *department = First(contact, "ram:DepartmentName"))
                c.fail(department, {Text(contact, "ram:PersonName"), Text(department)});
    return true;
}

// A party is identified by its own identifier or by a global one, not both (BT-29, BT-46,
// BT-60, BT-71).
bool oneIdentifier(RuleContext &c, const char *parties)
{
    for (xmlNode *party : c.all(parties))
        if (First(party, "ram:ID"))
            if (xmlNode *global = First(party, "ram:GlobalID"))
                c.fail(global, {NameOf(party)});
    return true;
}

// Supporting documents of one type code that the invoice has once: the tender or lot
// reference (BT-17, 50) and the invoiced object (BT-18, 130).
bool oneDocumentOfType(RuleContext &c, const char *code)
{
    Nodes found;
    for (xmlNode *document : c.all(CII_AGREEMENT "ram:AdditionalReferencedDocument"))
        if (hasTypeCode(document, code))
            found.push_back(document);
    for (size_t i = 1; i < found.size(); ++i)
        c.fail(found[i], {QString::fromLatin1(code), QString::number(found.size())});
    return true;
}

// The payment instructions (BG-16) are one group: where several payment means each carry an
// account to pay to (BG-17), they repeat one type code (BT-81) and one text (BT-82). Each
// element that says something else than the first is reported.
bool sameInEveryMeans(RuleContext &c, const char *path)
{
    const Nodes found = c.all(path);
    if (found.empty())
        return true;
    const QString first = Text(found.front());
    for (size_t i = 1; i < found.size(); ++i)
        if (Text(found[i]) != first)
            c.fail(found[i], {first, Text(found[i])});
    return true;
}

constexpr Rule Own[] = {
    // BT-157: an item's standard identifier names its scheme
    {"CII-SR-046", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Line,
     [](RuleContext &c) {
         for (xmlNode *product : c.all("ram:SpecifiedTradeProduct")) {
             const Nodes ids = All(product, "ram:GlobalID");
             if (!ids.empty() && std::none_of(ids.begin(), ids.end(), [](xmlNode *id) {
                     return attribute(id, "schemeID") != nullptr;
                 }))
                 c.fail(ids.front(), {Text(ids.front())});
         }
         return true;
     }},
    // BT-159: an item's country of origin is one country code
    {"CII-SR-090", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Line,
     [](RuleContext &c) {
         for (xmlNode *product : c.all("ram:SpecifiedTradeProduct")) {
             const Nodes origins = All(product, "ram:OriginTradeCountry");
             const size_t codes = All(product, "ram:OriginTradeCountry/ram:ID").size();
             if (!origins.empty() && codes != 1)
                 c.fail(origins.front(), {QString::number(codes)});
         }
         return true;
     }},
    // BT-147: the gross price knows only a price discount, given as an amount
    {"CII-SR-119", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Line,
     [](RuleContext &c) {
         for (xmlNode *agreement : c.all("ram:SpecifiedLineTradeAgreement")) {
             const Nodes indicators = All(agreement, GROSSAC "ram:ChargeIndicator");
             const bool amount = First(agreement, GROSSAC "ram:ActualAmount") != nullptr;
             const bool allowance = std::any_of(indicators.begin(), indicators.end(), [](xmlNode *indicator) {
                 const QString value = Text(indicator, "udt:Indicator");
                 return value == QLatin1String("false") || value == QLatin1String("0");
             });
             if (!(allowance && amount) && !(indicators.empty() && !amount))
                 c.fail(First(agreement, "ram:GrossPriceProductTradePrice/ram:AppliedTradeAllowanceCharge"));
         }
         return true;
     }},
    {"CII-SR-449", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return oneIdentifier(c, "rsm:SupplyChainTradeTransaction/ram:ApplicableHeaderTradeDelivery/"
                                 "ram:ShipToTradeParty");
     }},
    {"CII-SR-450", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return oneIdentifier(c, CII_AGREEMENT "ram:BuyerTradeParty");
     }},
    {"CII-SR-451", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return oneIdentifier(c, CII_SETTLEMENT "ram:PayeeTradeParty");
     }},
    {"CII-SR-457", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return oneDocumentOfType(c, "50");
     }},
    {"CII-SR-458", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return oneDocumentOfType(c, "130");
     }},
    // BT-7: the VAT point date is one date for the whole invoice, given once
    {"CII-SR-461", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return validation::AtMostOnce(c, CII_SETTLEMENT "ram:ApplicableTradeTax/ram:TaxPointDate");
     }},
    {"CII-SR-465", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return contactNamesOne(c, CII_AGREEMENT "ram:SellerTradeParty/ram:DefinedTradeContact");
     }},
    {"CII-SR-466", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return contactNamesOne(c, CII_AGREEMENT "ram:BuyerTradeParty/ram:DefinedTradeContact");
     }},
    {"CII-SR-467", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return sameInEveryMeans(c, CII_SETTLEMENT "ram:SpecifiedTradeSettlementPaymentMeans/ram:TypeCode");
     }},
    {"CII-SR-468", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return sameInEveryMeans(c,
                                 CII_SETTLEMENT "ram:SpecifiedTradeSettlementPaymentMeans/ram:Information");
     }},
    // BT-83: the payment reference is given once. The schema puts it in the settlement, not in
    // a payment means, so this count below the payment means holds for every valid invoice
    // and fires only on stray elements there.
    {"CII-SR-469", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return validation::AtMostOnce(c, CII_SETTLEMENT
                                       "ram:SpecifiedTradeSettlementPaymentMeans/ram:PaymentReference");
     }},
    // A credit transfer (BT-81 code 30 or 58) needs the account it is paid to (BG-17).
    {"CII-SR-470", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::PaymentMeans,
     [](RuleContext &c) {
         const QString code = c.text("ram:TypeCode");
         if (code != QLatin1String("30") && code != QLatin1String("58"))
             return true;
         if (c.has("ram:PayeePartyCreditorFinancialAccount"))
             return true;
         c.at = c.first("ram:TypeCode");
         c.values = {code};
         return false;
     }},
    // BT-128: a line names one invoiced object, a supporting document of type code 130.
    {"CII-SR-474", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Line,
     [](RuleContext &c) {
         Nodes found;
         for (xmlNode *document : c.all("ram:SpecifiedLineTradeSettlement/ram:AdditionalReferencedDocument"))
             if (hasTypeCode(document, "130"))
                 found.push_back(document);
         for (size_t i = 1; i < found.size(); ++i)
             c.fail(found[i], {label(found[i]), QString::number(found.size())});
         return true;
     }},
    // BT-123 and BT-125: the description and the attached file of a supporting document
    // (BG-24) may each be given once in the invoice.
    {"CII-SR-475", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return validation::AtMostOnce(c, CII_AGREEMENT "ram:AdditionalReferencedDocument/ram:Name");
     }},
    {"CII-SR-476", FindingFlag::Warning, Ruleset::En16931, Cii, Scope::Invoice,
     [](RuleContext &c) {
         return validation::AtMostOnce(c, CII_AGREEMENT
                                       "ram:AdditionalReferencedDocument/ram:AttachmentBinaryObject");
     }},
    // The attributes of the invoice type code (BT-3) alone: the walk checks that code as a
    // type code like any other first (CII-DT-008, -009), and these never come to it.
    {"CII-DT-010", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice, &Passes},
    {"CII-DT-011", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice, &Passes},
    {"CII-DT-012", FindingFlag::Fatal, Ruleset::En16931, Cii, Scope::Invoice, &Passes},
};

template <typename T, size_t N> constexpr std::array<Rule, N> tableRules(const T (&rows)[N])
{
    std::array<Rule, N> rules{};
    for (size_t i = 0; i < N; ++i)
        rules[i] = Rule{rows[i].id, rows[i].flag, Ruleset::En16931, Cii, Scope::Invoice, &reported};
    return rules;
}

template <size_t N> constexpr std::array<Rule, N> asArray(const Rule (&rules)[N])
{
    std::array<Rule, N> out{};
    for (size_t i = 0; i < N; ++i)
        out[i] = rules[i];
    return out;
}

template <size_t... N> constexpr auto joined(const std::array<Rule, N> &...parts)
{
    std::array<Rule, (N + ...)> all{};
    size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), all.begin() + at), at += N), ...);
    return all;
}

constexpr auto Rules =
    joined(asArray(Own), tableRules(Rows), tableRules(TaxChildren), tableRules(DocumentChildren),
           tableRules(PeriodChildren), tableRules(AddressChildren), tableRules(IdAttributes),
           tableRules(TypeCodeAttributes), tableRules(AmountAttributes), tableRules(QuantityAttributes),
           tableRules(WalkRules));

} // namespace

std::span<const Rule> CiiSyntaxRules()
{
    return Rules;
}

} // namespace invorator::validation
