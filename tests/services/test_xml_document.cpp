#include "services/XmlDocument.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace invorator;

namespace {

const XmlNamespaces ab{{"a", "urn:a"}, {"b", "urn:b"}};

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
    const XmlNode r = doc.documentElement(ab);
    EXPECT_EQ(r.text(), "one twothree");
    EXPECT_EQ(r.textOf("a:y"), "twothree");
    EXPECT_FALSE(r.textOf("a:missing"));

    XmlDocument blank;
    ASSERT_TRUE(blank.loadXml("<r>\n   \n  </r>"));
    EXPECT_FALSE(blank.documentElement().hasChildNodes()) << "white space alone is no content";
}

// One document, the prefix p bound to two URIs: each node answers by its own bindings, in
// the shortcut shapes and through the general engine alike, and the nodes it yields keep
// them, whatever another node was asked in between (the check of sums binds its own
// prefixes after the reader has read with its). Bindings given as a temporary are copied.
TEST(XmlNamespaces, EachNodeAnswersByItsOwnBindings)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml(R"(<r xmlns:x="urn:x" xmlns:y="urn:y"><x:i/><x:i><x:v>
        x1 </x:v></x:i><y:i><y:v>y1</y:v></y:i><x:i><x:v>x2</x:v></x:i></r>)"));
    const XmlNamespaces asX{{"p", "urn:x"}};
    const XmlNamespaces asY{{"p", "urn:y"}};
    const XmlNode x = doc.documentElement(asX);
    const XmlNode y = doc.documentElement(XmlNamespaces{{"p", "urn:y"}});
    for (const char *query : {"p:i/p:v", "//p:i/p:v", "//p:v", "p:i[p:v]/p:v", "p:i/p:v | p:none"}) {
        EXPECT_EQ(texts(x.selectNodes(query)), QStringList({"x1", "x2"})) << query;
        EXPECT_EQ(texts(y.selectNodes(query)), QStringList({"y1"})) << query;
        EXPECT_EQ(x.textOf(query), "x1") << query << ": the first under any p:i, not the first p:i";
    }
    const XmlNode second = x.selectSingleNode("p:i[p:v]");
    EXPECT_EQ(second.nextSibling().nextSibling().textOf("p:v"), "x2");
    EXPECT_EQ(x.selectNodes("p:i").item(2).textOf("p:v"), "x2");
    const XmlNode third = doc.documentElement().selectSingleNode("*[3]");
    EXPECT_FALSE(third.textOf("p:v")) << "no bindings, no prefixes";
    EXPECT_EQ(third.withNamespaces(asY).textOf("p:v"), "y1");
    EXPECT_EQ(third.withNamespaces(asY).selectSingleNode("p:v").textOf("self::p:v"), "y1");
}

// A prefix the bindings leave out matches nothing in any shape of query, and a node
// without bindings finds only names without a prefix.
TEST(XmlNamespaces, AnUnboundPrefixMatchesNothing)
{
    XmlDocument doc;
    ASSERT_TRUE(
        doc.loadXml("<i:Invoice xmlns:i='urn:i' xmlns:c='urn:c'><c:ID x='1'>7</c:ID><ID>9</ID></i:Invoice>"));
    const XmlNamespaces c{{"c", "urn:c"}};
    const XmlNode root = doc.documentElement(c);
    EXPECT_EQ(root.textOf("c:ID/@x"), "1");
    for (const char *query : {"zzz:ID", "//zzz:ID", "zzz:ID/@x", "c:ID[zzz:x]", "zzz:ID | c:ID", "i:*"})
        EXPECT_FALSE(root.selectSingleNode(query)) << query;
    const XmlNode bare = doc.documentNode();
    EXPECT_FALSE(bare.selectSingleNode("//c:ID"));
    EXPECT_FALSE(bare.selectSingleNode("//c:ID[1]"));
    EXPECT_EQ(bare.textOf("//ID"), "9");
    EXPECT_EQ(bare.textOf("//*[namespace-uri()='urn:c']"), "7");
}

// The readers' declaration lists: an unprefixed entry is accepted and left out, anything
// else is refused; a prefix declared twice takes its last URI in every shape of query.
TEST(XmlNamespaces, ParseReadsDeclarationListsAndRefusesAnythingElse)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<i:Invoice xmlns:i='urn:i' xmlns:c='urn:c'><c:ID>7</c:ID></i:Invoice>"));
    const auto parsed = XmlNamespaces::parse(" xmlns='urn:i' xmlns:cbc=\"urn:c\"\n xmlns:i = 'urn:i' ");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(doc.documentNode(*parsed).textOf("//cbc:ID"), "7");
    EXPECT_EQ(doc.documentNode(*parsed).textOf("i:Invoice/cbc:ID"), "7");
    const auto twice = XmlNamespaces::parse("xmlns:c='urn:i' xmlns:c='urn:c'");
    ASSERT_TRUE(twice);
    EXPECT_EQ(doc.documentElement(*twice).textOf("c:ID"), "7");
    EXPECT_EQ(doc.documentElement(*twice).textOf("c:ID[1]"), "7");
    for (const char *bad : {"xmlns:cbc='urn:c' junk", "xmlns:cbc='urn:c", "cbc='urn:c'", "xmlns:1x='urn:c'"})
        EXPECT_FALSE(XmlNamespaces::parse(bad)) << bad;
}

// The tree-walking shortcuts must answer exactly like the general XPath engine: the
// expected answers are the engine's, asked in a form that bypasses the shortcuts.
TEST(XmlDocument, ShortcutQueriesAgreeWithTheXPathEngine)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml(R"(<a:r xmlns:a="urn:a" xmlns:b="urn:b" xmlns:c="urn:a">
        <a:x n="1"><a:y>1</a:y><b:y>b</b:y><a:y>2</a:y></a:x>
        <a:x n="2" b:n="q"><a:x n="3"><a:y>3</a:y></a:x><a:y>4</a:y></a:x>
        <c:y>5</c:y><y>plain</y></a:r>)"));
    const XmlNode root = doc.documentElement(ab);
    EXPECT_EQ(texts(root.selectNodes("./a:x/a:y")), QStringList({"1", "2", "4"}));
    EXPECT_EQ(texts(root.selectNodes("a:x/a:y")), texts(root.selectNodes("./a:x/a:y")));
    // Nested anchors: document order puts the inner x's y (3) before the outer x's y (4).
    EXPECT_EQ(texts(root.selectNodes("//a:x/a:y")), texts(root.selectNodes("/descendant::a:x/a:y")));
    EXPECT_EQ(texts(root.selectNodes("//a:y")), texts(root.selectNodes("/descendant::a:y")));
    EXPECT_EQ(root.textOf("//a:y"), "1");
    EXPECT_EQ(texts(root.selectNodes("a:x/@n")), texts(root.selectNodes("./a:x/@n")));
    EXPECT_EQ(texts(root.selectNodes("//*[namespace-uri()='urn:b']")), QStringList({"b"}));
    EXPECT_TRUE(root.selectNodes("//*[namespace-uri()='urn:none']").empty());
    // @n is the attribute without a namespace, even after a namespaced one of that name.
    EXPECT_EQ(texts(root.selectNodes("a:x[2]/@n")), QStringList({"2"}));
    XmlDocument attrs;
    ASSERT_TRUE(attrs.loadXml(R"(<a:r xmlns:a="urn:a" xmlns:b="urn:b"><a:x b:n="q" n="2"/></a:r>)"));
    EXPECT_EQ(attrs.documentElement(ab).textOf("a:x/@n"), "2");
}

// Untrusted bytes refused as before: a document type declaration (with entities, or an
// external one), an entity without one, and inputs past the size, depth, attribute and
// name limits. A refused load leaves nothing of the document loaded before it.
TEST(XmlDocument, HostileInputIsRefused)
{
    struct Case
    {
        const char *name;
        QByteArray xml;
        bool tooLarge;
    };
    const Case cases[] = {
        {"entities", "<!DOCTYPE r [<!ENTITY e 'boom'>]><r>&e;</r>", false},
        {"external", "<!DOCTYPE r SYSTEM 'file:///etc/hostname'><r/>", false},
        {"undeclared entity", "<r>&e;</r>", false},
        {"unclosed", "<r>", false},
        {"bytes", "<r>" + QByteArray(MaxXmlBytes, ' ') + "</r>", true},
        {"depth", QByteArray("<a>").repeated(300) + QByteArray("</a>").repeated(300), false},
        {"attribute", "<r a='" + QByteArray(11'000'000, 'x') + "'/>", false},
        {"name", "<" + QByteArray(60'000, 'n') + "/>", false},
    };
    XmlDocument doc;
    for (const Case &c : cases) {
        ASSERT_TRUE(doc.loadXml("<r>good</r>"));
        const XmlResult refused = doc.loadXml(c.xml);
        EXPECT_FALSE(refused) << c.name;
        EXPECT_EQ(refused.tooLarge, c.tooLarge) << c.name;
        EXPECT_FALSE(refused.message.isEmpty()) << c.name;
        EXPECT_FALSE(doc.isLoaded() || doc.documentElement()) << c.name;
    }
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
