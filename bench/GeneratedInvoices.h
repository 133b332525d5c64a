#pragma once

#include <QByteArray>

// Invoices of any number of lines for the benchmarks: every line alike (three pieces at
// 12.50), with the header, parties and totals of a small real invoice.
QByteArray ciiInvoice(int lines);
QByteArray ublInvoice(int lines);
