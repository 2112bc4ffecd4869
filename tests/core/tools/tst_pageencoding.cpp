// A page is rewritten in the encoding its bytes come back from identically,
// whatever its label says, and in none where they come back from none.
#include "core/tools/fileuses.h"
#include "core/tools/pageencoding.h"

#include <QStringEncoder>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray encoded(const char *codec, const QString &text)
{
    QStringEncoder encoder(codec);
    return encoder(text);
}

} // namespace

class PageEncodingTest : public QObject
{
    Q_OBJECT
private slots:
    void pageIsReadInTheEncodingItRoundTripsIn_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("bom");
        const QString page = u"<HTML><HEAD><META charset=%1></HEAD><BODY>写真のページ</BODY></HTML>"_s;
        QTest::newRow("UTF-8 with its mark") << "\xEF\xBB\xBF" + page.arg(u"UTF-8"_s).toUtf8() << int(PageEncoding::Utf8)
                                              << true;
        QTest::newRow("UTF-8, no label") << u"<P>写真</P>"_s.toUtf8() << int(PageEncoding::Utf8) << false;
        QTest::newRow("ASCII labelled Shift_JIS: the label's code page")
            << QByteArray("<META charset=Shift_JIS><P>photo</P>") << int(PageEncoding::Cp932) << false;
        QTest::newRow("CP932 labelled UTF-8") << encoded("CP932", page.arg(u"UTF-8"_s)) << int(PageEncoding::Cp932)
                                              << false;
        QTest::newRow("EUC-JP labelled Shift_JIS, its bytes CP932 too")
            << encoded("EUC-JP", u"<META charset=Shift_JIS><P>ひらがなのページです</P>"_s) << int(PageEncoding::EucJp) << false;
        QTest::newRow("a mark over bytes no UTF-8") << QByteArray("\xEF\xBB\xBF<P>\x83\x65</P>") << int(PageEncoding::None)
                                                    << false;
        QTest::newRow("a byte no encoding has") << QByteArray("<P>\xFF</P>") << int(PageEncoding::None) << false;
    }
    void pageIsReadInTheEncodingItRoundTripsIn()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, kind);
        QFETCH(bool, bom);
        const PageEncoding encoding = pageEncodingOf(bytes);
        QCOMPARE(int(encoding.kind), kind);
        QCOMPARE(encoding.bom, bom);
        if (!encoding.rewritable())
            return;
        bool ok = false;
        QCOMPARE(encodeForPage(encoding, encoding.text, &ok), bytes);
        QVERIFY(ok);
    }

    // A new name the page's encoding cannot hold as it stands is written as a
    // browser reads it back whatever the page's encoding: percent-escaped UTF-8.
    void nameThePageCannotHoldIsEscaped_data()
    {
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("written");
        QTest::newRow("CP932 holds 写真") << QByteArray("CP932") << u"写真.jpg"_s << u"写真.jpg"_s;
        QTest::newRow("CP932 holds no emoji") << QByteArray("CP932") << u"😀.jpg"_s << u"%F0%9F%98%80.jpg"_s;
        QTest::newRow("EUC-JP holds 写真") << QByteArray("EUC-JP") << u"写真.jpg"_s << u"写真.jpg"_s;
        QTest::newRow("EUC-JP holds no Hangul") << QByteArray("EUC-JP") << u"한.jpg"_s << u"%ED%95%9C.jpg"_s;
    }
    void nameThePageCannotHoldIsEscaped()
    {
        QFETCH(QByteArray, codec);
        QFETCH(QString, name);
        QFETCH(QString, written);
        const PageEncoding encoding = pageEncodingOf(encoded(codec.constData(), u"<P>写真</P>"_s));
        const LinkResolver resolver(u"/r"_s, u"/r"_s);
        const QHash<QString, QString> renamed{{resolver.key(u"/r/a.jpg"_s), name}};
        QCOMPARE(renameInPageText(u"<IMG src=\"a.jpg\">"_s, u"/r"_s, renamed, resolver,
                                  [&](const QString &n) { return encodableIn(encoding, n); }),
                 u"<IMG src=\"%1\">"_s.arg(written));
    }
};

QTEST_GUILESS_MAIN(PageEncodingTest)
#include "tst_pageencoding.moc"
