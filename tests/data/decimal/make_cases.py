#!/usr/bin/env python3
"""Writes cases.tsv: the exact results of the decimal type's operations, computed with
Python's decimal module as a second implementation. Run from this folder; the seed keeps
the table the same on every run.

Columns: operation, a, b, places, result. Operations:
  parse   a is a text; result is the number in fixed notation, or "-" when a is no xs:decimal
  add sub mul   result is a+b, a-b, a*b with every digit (the scale of the exact result)
  round   a rounded half away from zero to `places` decimals
  div     a/b rounded half away from zero to `places` decimals ("-" when b is zero)
"""
import decimal
import random

ctx = decimal.Context(prec=1000, rounding=decimal.ROUND_HALF_UP, Emax=10**6, Emin=-10**6)
decimal.setcontext(ctx)
D = decimal.Decimal
rnd = random.Random(20261207)


def fixed(x):
    text = format(x, "f")
    if x.is_zero() and text.startswith("-"):
        text = text[1:]
    return text


def number(max_digits=60):
    whole = rnd.randint(0, max_digits)
    frac = rnd.randint(0, max(0, min(max_digits - whole, 30)))
    if whole + frac == 0:
        whole = 1
    w = "".join(rnd.choice("0123456789") for _ in range(whole))
    f = "".join(rnd.choice("0123456789") for _ in range(frac))
    if rnd.random() < 0.15:
        w = "000" + w  # leading zeros
    text = (w or "0") + ("." + f if f else "")
    return ("-" if rnd.random() < 0.4 else "") + text


rows = []
valid = ["0", "-0", "+5", "5.", ".5", "-.5", "0010.00", " 12.50 ", "\t7\n", "2.8500000000",
         "0000000000000010.00", "1" * 60 + "." + "9" * 40]
invalid = ["", " ", "1e3", "NaN", "INF", "-INF", "10,00", "10,", ",5", "- 10.00", "1.2.3", ".", "-", "+",
           "１２", "12a", "0x10", "1_000", "++1", "1 000"]
for text in valid:
    rows.append(("parse", text, "", "", fixed(D(text.strip()))))
for text in invalid:
    rows.append(("parse", text, "", "", "-"))
for _ in range(120):
    text = number()
    rows.append(("parse", text, "", "", fixed(D(text))))
for op in ("add", "sub", "mul"):
    for _ in range(120):
        a, b = number(), number()
        x, y = D(a), D(b)
        r = x + y if op == "add" else x - y if op == "sub" else x * y
        rows.append((op, a, b, "", fixed(r)))
for _ in range(120):
    a = number()
    places = rnd.randint(0, 12)
    x = D(a)
    r = x.quantize(D(1).scaleb(-places)) if -x.as_tuple().exponent > places else x
    rows.append(("round", a, "", str(places), fixed(r)))
# Ties round away from zero, both signs.
for a, places in (("2.675", 2), ("-2.675", 2), ("0.5", 0), ("-0.5", 0), ("1.0049999", 2), ("-0.005", 2)):
    rows.append(("round", a, "", str(places), fixed(D(a).quantize(D(1).scaleb(-places)))))
for _ in range(120):
    a, b = number(40), number(20)
    places = rnd.randint(0, 9)
    x, y = D(a), D(b)
    r = "-" if y.is_zero() else fixed((x / y).quantize(D(1).scaleb(-places)))
    rows.append(("div", a, b, str(places), r))
rows.append(("div", "1", "0.000", "2", "-"))
rows.append(("div", "2", "3", "4", fixed((D(2) / D(3)).quantize(D("0.0001")))))
rows.append(("div", "-1", "8", "2", fixed((D(-1) / D(8)).quantize(D("0.01")))))

with open("cases.tsv", "w", encoding="utf-8") as out:
    for row in rows:
        out.write("\t".join(field.replace("\\", "\\\\").replace("\t", "\\t").replace("\n", "\\n")
                            for field in row) + "\n")
print(len(rows), "cases")
