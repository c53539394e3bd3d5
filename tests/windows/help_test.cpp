// The manual and the About box's System Info offscreen: F1 opens the
// manual in the tool's own window, every link lands inside the bundle,
// search finds the page a technician looks for, System Info copies.
#include "windows/bundled.h"
#include "windows/desktop_tools.h"
#include "windows/frm_main.h"
#include "windows/help_window.h"
#include "windows/system_info_dialog.h"
#include "windows_support/gui_fixture.h"

#include <QAction>
#include <QClipboard>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>

#include <map>

namespace orlix {
namespace {

struct HelpTest : test::GuiFixture {
    HelpTest() { h.app.ports.system = &tools; }

    QTextBrowser* browser() {
        return tools.helpWindow() ? tools.helpWindow()->findChild<QTextBrowser*>("txtManual")
                                  : nullptr;
    }

    windows::DesktopTools tools;
};

TEST_F(HelpTest, F1OpensTheManualInTheToolsOwnWindowWithBackAndForward) {
    windows::FrmMainWindow* main = gui.mainWindow();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    QTest::keyClick(main, Qt::Key_F1);

    windows::HelpWindow* help = tools.helpWindow();
    ASSERT_TRUE(help && help->isVisible()) << "F1 reached no help window";
    EXPECT_EQ(browser()->source(), windows::resourceUrl(windows::kManualHome));
    EXPECT_TRUE(h.dialogs.messages.empty());

    browser()->setSource(windows::resourceUrl(":/manual/connecting.html"));
    auto* back = help->findChild<QToolButton*>("btnBack");
    auto* forward = help->findChild<QToolButton*>("btnForward");
    ASSERT_TRUE(back && forward);
    QTest::mouseClick(back, Qt::LeftButton);
    EXPECT_EQ(browser()->source(), windows::resourceUrl(windows::kManualHome));
    QTest::mouseClick(forward, Qt::LeftButton);
    EXPECT_EQ(browser()->source(), windows::resourceUrl(":/manual/connecting.html"));

    // Help Topics again brings the same window forward where it was.
    gui.mainWindow()->findChild<QAction*>("mnuHelpTopics")->trigger();
    EXPECT_EQ(tools.helpWindow(), help);
    EXPECT_EQ(browser()->source(), windows::resourceUrl(":/manual/connecting.html"));
}

// Every href and src of every page, and the anchor names each page offers.
struct Manual {
    std::map<QString, QStringList> links;
    std::map<QString, QSet<QString>> anchors;
    std::map<QString, QString> titles;
};

Manual readManual() {
    Manual manual;
    static const QRegularExpression link(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re");
    QDirIterator it(windows::kManualFolder, {"*.html"}, QDir::Files);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString html = QString::fromUtf8(file.readAll());
        for (const auto& match : link.globalMatch(html)) {
            manual.links[path] << match.captured(1);
        }
        // The names the help window's browser can scroll to, as it parses them.
        QTextDocument document;
        document.setHtml(html);
        manual.titles[path] = document.metaInformation(QTextDocument::DocumentTitle);
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto f = block.begin(); !f.atEnd(); ++f) {
                for (const QString& name : f.fragment().charFormat().anchorNames()) {
                    manual.anchors[path].insert(name);
                }
            }
        }
    }
    return manual;
}

TEST(Manual, EveryLinkLandsInsideTheBundleAndEveryPageIsReachable) {
    const Manual manual = readManual();
    ASSERT_GT(manual.titles.size(), 30U) << "the manual is not in the program";

    std::map<QString, QStringList> targets; // page -> pages it links to
    for (const auto& [page, links] : manual.links) {
        for (const QString& href : links) {
            const QUrl url = windows::resourceUrl(page).resolved(QUrl(href));
            const QString file = ":" + url.path();
            const std::string where = page.toStdString() + " -> " + href.toStdString();
            ASSERT_EQ(url.scheme(), "qrc") << where << ": leaves the manual";
            ASSERT_TRUE(QFile::exists(file)) << where << ": no such page";
            if (url.hasFragment()) {
                EXPECT_TRUE(manual.anchors.count(file) &&
                            manual.anchors.at(file).contains(url.fragment()))
                    << where << ": no such place on the page";
            }
            targets[page] << file;
        }
    }

    QSet<QString> seen{windows::kManualHome};
    QStringList todo{windows::kManualHome};
    while (!todo.isEmpty()) {
        for (const QString& next : targets[todo.takeFirst()]) {
            if (next.endsWith(".html") && !seen.contains(next)) {
                seen.insert(next);
                todo << next;
            }
        }
    }
    for (const auto& [page, title] : manual.titles) {
        EXPECT_TRUE(seen.contains(page)) << page.toStdString() << " is linked from nowhere";
        EXPECT_FALSE(title.isEmpty()) << page.toStdString() << " has no title";
    }
}

TEST(HelpWindowSearch, FindsThePageATechnicianLooksForAndOpensItAtTheWord) {
    windows::HelpWindow help;
    const std::pair<const char*, const char*> firstPages[] = {
        {"dialout", "connecting.html"},                 // a group name
        {"SERIAL PORT LOST", "trouble-port-lost.html"}, // a message, in any case
        {"firmware download", "firmware.html"},         // title words weigh most
        {"kickolduser dialout", ""},                    // every word must be on the page
    };
    for (const auto& [query, page] : firstPages) {
        const auto hits = help.search(query);
        EXPECT_EQ(hits.empty() ? QUrl() : hits.front().page,
                  *page ? windows::resourceUrl(QString(":/manual/") + page) : QUrl())
            << query;
    }

    auto* field = help.findChild<QLineEdit*>("txtSearch");
    auto* results = help.findChild<QListWidget*>("lstResults");
    help.show();
    QTest::keyClicks(field, "Permission denied");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_TRUE(results->isVisible());
    ASSERT_GT(results->count(), 0);
    results->setCurrentRow(0);
    emit results->itemActivated(results->item(0));
    EXPECT_EQ(help.findChild<QTextBrowser*>("txtManual")->textCursor().selectedText().toLower(),
              "permission denied");

    field->clear();
    QTest::keyClicks(field, "qwertyuiop");
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(results->count(), 1);
    EXPECT_EQ(results->item(0)->flags(), Qt::NoItemFlags) << "a note, not a page";
}

TEST_F(HelpTest, SystemInfoShowsWhatSupportNeedsAndCopiesIt) {
    h.act([this] { h.app.show(WindowId::frmAbout); });
    QWidget* about = gui.window(WindowId::frmAbout);
    ASSERT_NE(about, nullptr);
    EXPECT_FALSE(about->findChild<QLabel*>("picIcon")->pixmap().isNull()) << "the icon is bundled";
    QTest::mouseClick(about->findChild<QPushButton*>("cmdSysInfo"), Qt::LeftButton);

    windows::SystemInfoDialog* info = tools.systemInfoDialog();
    ASSERT_TRUE(info && info->isVisible()) << "no window and no message: a dead end";
    EXPECT_TRUE(h.dialogs.messages.empty());
    const QString text = info->findChild<QPlainTextEdit*>("txtSysInfo")->toPlainText();
    for (const char* line : {"Orlix6 6.0.3", "Operating system: ", "Qt: 6.",
                             "Window system: offscreen", "Serial devices: "}) {
        EXPECT_TRUE(text.contains(line)) << line;
    }
    QTest::mouseClick(info->findChild<QPushButton*>("cmdCopy"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
}

} // namespace
} // namespace orlix
