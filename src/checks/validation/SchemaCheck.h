#pragma once

#include "checks/Validation.h"

#include <libxml/tree.h>

#include <vector>

namespace invorator::validation {

enum class SchemaKind { Cii, UblInvoice, UblCreditNote };

// Validates a document against the XML Schema of its kind from the validation folder. The
// schemas are compiled once per process and folder, the first time one is needed. Every
// error is a fatal finding "XSD" with its line and the validator's message; past a hundred
// errors one more finding ("XSD-MORE") says how many were left out. A schema that cannot be
// read is one finding "SETUP" naming its file.
std::vector<ValidationFinding> CheckSchema(xmlDoc *doc, SchemaKind kind, const QString &validationFolder);

} // namespace invorator::validation
