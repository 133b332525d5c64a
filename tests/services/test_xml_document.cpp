#include "services/XmlDocument.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace invorator;

namespace {

const char *ns = "xmlns:a='urn:a' xmlns:b='urn:b'";

void load(XmlDocument &doc, const QByteArray &xml)
{
    EXPECT_TRUE(doc.loadXml(xml)) << xml.constData();
    EXPECT_TRUE(doc.setProperty("SelectionNamespaces", ns));
}

QStringList texts(const XmlNodeList &list)
{
    QStringList out;
    for (const XmlNode n : list)
        out << n.text();
    return out;
}

} // namespace

TEST(XmlDocument, TextJoinsDescendantTextAndLeavesOutWhitespaceOnlyNodes)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<r xmlns='urn:a'>\n  <x>  one </x>\n  <y>two<z>three</z></y>\n</r>"));
    ASSERT_TRUE(doc.setProperty("SelectionNamespaces", ns));
    const XmlNode r = doc.documentElement();
    EXPECT_EQ(r.text(), "one twothree");
    EXPECT_EQ(r.textOf("a:y"), "twothree");
    EXPECT_FALSE(r.textOf("a:missing"));
    EXPECT_TRUE(r.hasChildNodes());
    EXPECT_TRUE(r.selectSingleNode("a:x").hasChildNodes());

    XmlDocument blank;
    ASSERT_TRUE(blank.loadXml("<r>\n   \n  </r>"));
    EXPECT_FALSE(blank.documentElement().hasChildNodes()) << "white space alone is no content";
}

TEST(XmlDocument, SelectionNamespacesAcceptsAnUnprefixedEntryAndRejectsGarbage)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<i:Invoice xmlns:i='urn:i' xmlns:c='urn:c'><c:ID>7</c:ID></i:Invoice>"));
    EXPECT_TRUE(doc.setProperty("SelectionNamespaces", "xmlns='urn:i' xmlns:cbc=\"urn:c\""));
    EXPECT_EQ(doc.documentNode().textOf("//cbc:ID"), "7");
    EXPECT_FALSE(doc.setProperty("SelectionNamespaces", "xmlns:cbc='urn:c' junk"));
    EXPECT_FALSE(doc.setProperty("SelectionLanguage", "XPath"));
    // An unknown prefix is no match, not a crash.
    EXPECT_FALSE(doc.documentNode().selectSingleNode("//zzz:ID"));
    EXPECT_FALSE(doc.documentElement().selectSingleNode("zzz:ID/@x"));
}

// The tree-walking shortcuts must answer exactly like the general XPath engine: the
// same expressions are asked once in the short form and once in a form that bypasses it.
TEST(XmlDocument, ShortcutQueriesAgreeWithTheXPathEngine)
{
    XmlDocument doc;
    load(doc, R"(<a:r xmlns:a="urn:a" xmlns:b="urn:b" xmlns:c="urn:a">
        <a:x n="1"><a:y>1</a:y><b:y>b</b:y><a:y>2</a:y></a:x>
        <a:x n="2" b:n="q"><a:x n="3"><a:y>3</a:y></a:x><a:y>4</a:y></a:x>
        <c:y>5</c:y><y>plain</y></a:r>)");
    const XmlNode root = doc.documentElement();
    EXPECT_EQ(texts(root.selectNodes("a:x/a:y")), texts(root.selectNodes("./a:x/a:y")));
    EXPECT_EQ(texts(root.selectNodes("a:x/a:y")), QStringList({"1", "2", "4"}));
    // Nested anchors: document order puts the inner x's y (3) before the outer x's y (4).
    EXPECT_EQ(texts(root.selectNodes("//a:x/a:y")), texts(root.selectNodes("/descendant::a:x/a:y")));
    EXPECT_EQ(texts(root.selectNodes("//a:x/a:y")), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(texts(root.selectNodes("//a:y")), texts(root.selectNodes("/descendant::a:y")));
    EXPECT_EQ(root.textOf("//a:y"), "1");
    EXPECT_EQ(texts(root.selectNodes("a:x/@n")), texts(root.selectNodes("./a:x/@n")));
    EXPECT_EQ(texts(root.selectNodes("a:x/@n")), QStringList({"1", "2"}));
    EXPECT_EQ(root.selectSingleNode("a:x").getNamedItem("n").text(), "1");
    EXPECT_FALSE(root.selectSingleNode("a:x").getNamedItem("missing"));
    EXPECT_EQ(texts(doc.selectNodes("//*[namespace-uri()='urn:b']")), QStringList({"b"}));
    EXPECT_TRUE(doc.selectNodes("//*[namespace-uri()='urn:none']").empty());
    EXPECT_EQ(root.selectNodes("//a:x").length(), 3u);
    EXPECT_EQ(root.selectSingleNode("a:x").nextSibling().nextSibling().getNamedItem("n").text(), "2");
    // @n is the attribute without a namespace, even after a namespaced one of that name.
    EXPECT_EQ(texts(root.selectNodes("a:x[2]/@n")), QStringList({"2"}));
    XmlDocument attrs;
    load(attrs, R"(<a:r xmlns:a="urn:a" xmlns:b="urn:b"><a:x b:n="q" n="2"/></a:r>)");
    EXPECT_EQ(attrs.documentElement().textOf("a:x/@n"), "2");
    EXPECT_EQ(attrs.documentElement().textOf("a:x/@n"), attrs.documentElement().textOf("./a:x/@n"));
}

// The shortcut answers must follow the document: the first //a/b is the first b under
// any a, even when the first a has none; texts are trimmed; and a query answered under
// one set of prefixes is answered anew when the prefixes change.
TEST(XmlDocument, ShortcutAnswersFollowTheDocumentAndThePrefixes)
{
    XmlDocument doc;
    load(doc, R"(<a:r xmlns:a="urn:a" xmlns:b="urn:b"><a:x/><a:x><a:y>
        first  </a:y></a:x><b:x><b:y>other</b:y></b:x></a:r>)");
    EXPECT_EQ(doc.selectSingleNode("//a:x/a:y").text(), "first");
    EXPECT_EQ(doc.documentElement().textOf("a:x/a:y"), "first");
    ASSERT_TRUE(doc.setProperty("SelectionNamespaces", "xmlns:a='urn:b'"));
    EXPECT_EQ(doc.selectSingleNode("//a:x/a:y").text(), "other");
    EXPECT_EQ(doc.documentElement().textOf("a:x/a:y"), "other");
}

TEST(XmlDocument, LoadRejectsWhatIsNotAWellFormedDocument)
{
    XmlDocument doc;
    EXPECT_FALSE(doc.loadXml(""));
    EXPECT_FALSE(doc.loadXml("<a><b></a>"));
    EXPECT_FALSE(doc.loadXml(QByteArray("\x00\x01\x02\xff", 4)));
    EXPECT_FALSE(doc.loadXml("<?xml version='1.0'?>"));
    EXPECT_FALSE(doc.loadXml("<!DOCTYPE r [<!ENTITY e 'x'>]><r>&e;</r>")) << "no document type declarations";
    EXPECT_FALSE(doc.load("/nonexistent/file.xml"));
    EXPECT_FALSE(doc.isLoaded());
    EXPECT_FALSE(doc.documentElement());
    const XmlResult bad = doc.loadXml("<a>\n<b>\n</a>");
    EXPECT_FALSE(bad);
    EXPECT_FALSE(bad.message.isEmpty());
    EXPECT_GT(bad.line, 0);
    // A failed load after a good one leaves nothing of the old document.
    ASSERT_TRUE(doc.loadXml("<r/>"));
    EXPECT_FALSE(doc.loadXml("<r>"));
    EXPECT_FALSE(doc.documentElement());
}

// Documents are refused by their number of tags before parsing, counted eight bytes at a
// time: exactly the limit is taken, one more is not, whatever stands next to the "<".
TEST(XmlDocument, TheTagLimitCountsEveryTag)
{
    QByteArray xml = "<r>";
    xml.reserve(MaxXmlTags * 5);
    for (qsizetype i = 0; i < MaxXmlTags - 2; ++i)
        xml += (i % 3 == 0) ? "<a/>=" : (i % 3 == 1 ? "<b/>" : "<c/>;");
    xml += "</r>";
    XmlDocument doc;
    EXPECT_TRUE(doc.loadXml(xml));
    xml.insert(3, "<d/>");
    const XmlResult refused = doc.loadXml(xml);
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.tooLarge);
}
