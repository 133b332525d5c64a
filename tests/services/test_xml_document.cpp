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
    // An unknown prefix is no match, not a crash.
    EXPECT_FALSE(doc.documentNode().selectSingleNode("//zzz:ID"));
    EXPECT_FALSE(doc.documentElement().selectSingleNode("zzz:ID/@x"));
}

// The tree-walking shortcuts must answer exactly like the general XPath engine: the
// expected answers are the engine's, asked in a form that bypasses the shortcuts.
TEST(XmlDocument, ShortcutQueriesAgreeWithTheXPathEngine)
{
    XmlDocument doc;
    load(doc, R"(<a:r xmlns:a="urn:a" xmlns:b="urn:b" xmlns:c="urn:a">
        <a:x n="1"><a:y>1</a:y><b:y>b</b:y><a:y>2</a:y></a:x>
        <a:x n="2" b:n="q"><a:x n="3"><a:y>3</a:y></a:x><a:y>4</a:y></a:x>
        <c:y>5</c:y><y>plain</y></a:r>)");
    const XmlNode root = doc.documentElement();
    EXPECT_EQ(texts(root.selectNodes("./a:x/a:y")), QStringList({"1", "2", "4"}));
    EXPECT_EQ(texts(root.selectNodes("a:x/a:y")), texts(root.selectNodes("./a:x/a:y")));
    // Nested anchors: document order puts the inner x's y (3) before the outer x's y (4).
    EXPECT_EQ(texts(root.selectNodes("//a:x/a:y")), texts(root.selectNodes("/descendant::a:x/a:y")));
    EXPECT_EQ(texts(root.selectNodes("//a:y")), texts(root.selectNodes("/descendant::a:y")));
    EXPECT_EQ(root.textOf("//a:y"), "1");
    EXPECT_EQ(texts(root.selectNodes("a:x/@n")), texts(root.selectNodes("./a:x/@n")));
    EXPECT_EQ(texts(doc.selectNodes("//*[namespace-uri()='urn:b']")), QStringList({"b"}));
    EXPECT_TRUE(doc.selectNodes("//*[namespace-uri()='urn:none']").empty());
    // @n is the attribute without a namespace, even after a namespaced one of that name.
    EXPECT_EQ(texts(root.selectNodes("a:x[2]/@n")), QStringList({"2"}));
    XmlDocument attrs;
    load(attrs, R"(<a:r xmlns:a="urn:a" xmlns:b="urn:b"><a:x b:n="q" n="2"/></a:r>)");
    EXPECT_EQ(attrs.documentElement().textOf("a:x/@n"), "2");
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

// Broken and hostile documents are refused in the import tests (test_hostile.cpp); here:
// a failed load after a good one leaves nothing of the old document.
TEST(XmlDocument, AFailedLoadLeavesNoDocument)
{
    XmlDocument doc;
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
