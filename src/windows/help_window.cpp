#include "windows/help_window.h"

#include "windows/bundled.h"

#include <QDirIterator>
#include <QFile>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace orlix::windows {

namespace {

constexpr const char* kCaption = "Orlix6 Manual";

QToolButton* toolButton(QWidget* parent, const char* name, const QString& text,
                        const QKeySequence& key) {
    auto* b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setShortcut(key);
    b->setToolTip(text + " (" + key.toString(QKeySequence::NativeText) + ")");
    return b;
}

QStringList wordsOf(const QString& query) {
    return query.toLower().split(' ', Qt::SkipEmptyParts);
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmHelp");
    setWindowTitle(kCaption);
    resize(900, 650);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName("txtManual");
    m_browser->setOpenExternalLinks(false);
    m_search = new QLineEdit(this);
    m_search->setObjectName("txtSearch");
    m_search->setPlaceholderText("Search the manual");
    m_search->setClearButtonEnabled(true);
    m_results = new QListWidget(this);
    m_results->setObjectName("lstResults");
    m_results->hide();

    auto* back = toolButton(this, "btnBack", "Back", QKeySequence::Back);
    auto* forward = toolButton(this, "btnForward", "Forward", QKeySequence::Forward);
    auto* contents =
        toolButton(this, "btnContents", "Contents", QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QToolButton::clicked, m_browser, &QTextBrowser::home);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QString(kCaption) : QString(kCaption) + " - " + title);
    });
    connect(m_search, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(m_results, &QListWidget::itemActivated, this, &HelpWindow::openHit);
    connect(m_results, &QListWidget::itemClicked, this, &HelpWindow::openHit);

    auto* bar = new QHBoxLayout;
    bar->addWidget(back);
    bar->addWidget(forward);
    bar->addWidget(contents);
    bar->addWidget(m_search, 1);
    auto* split = new QSplitter(this);
    split->addWidget(m_results);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({220, 680});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    m_browser->setSource(resourceUrl(kManualHome));
}

void HelpWindow::loadPages() {
    if (!m_pages.empty()) {
        return;
    }
    QDirIterator it(kManualFolder, {QStringLiteral("*.html")}, QDir::Files);
    while (it.hasNext()) {
        QFile file(it.next());
        if (!file.open(QIODevice::ReadOnly)) {
            continue;
        }
        QTextDocument document;
        document.setHtml(QString::fromUtf8(file.readAll()));
        m_pages.push_back({resourceUrl(file.fileName()),
                           document.metaInformation(QTextDocument::DocumentTitle),
                           document.toPlainText().toLower()});
    }
}

std::vector<HelpWindow::Hit> HelpWindow::search(const QString& query) {
    loadPages();
    const QStringList words = wordsOf(query);
    struct Scored {
        const Page* page;
        qsizetype score;
    };
    std::vector<Scored> found;
    for (const Page& page : m_pages) {
        qsizetype score = 0;
        for (const QString& word : words) {
            const qsizetype count = page.text.count(word);
            if (count == 0) {
                score = 0;
                break;
            }
            score += count + (page.title.contains(word, Qt::CaseInsensitive) ? 100 : 0);
        }
        if (score > 0) {
            found.push_back({&page, score});
        }
    }
    std::stable_sort(found.begin(), found.end(), [](const Scored& a, const Scored& b) {
        return a.score != b.score ? a.score > b.score : a.page->title < b.page->title;
    });
    std::vector<Hit> hits;
    for (const Scored& s : found) {
        hits.push_back({s.page->url, s.page->title});
    }
    return hits;
}

void HelpWindow::runSearch() {
    const QString query = m_search->text().simplified();
    if (query.isEmpty()) {
        m_results->hide();
        return;
    }
    // The same words again: the next place on the page shown.
    if (query == m_lastQuery && m_results->isVisible()) {
        findOnPage(false);
        return;
    }
    m_lastQuery = query;
    m_results->clear();
    const std::vector<Hit> hits = search(query);
    for (const Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, m_results);
        item->setData(Qt::UserRole, hit.page);
    }
    if (hits.empty()) {
        auto* item = new QListWidgetItem("No page holds all of these words.", m_results);
        item->setFlags(Qt::NoItemFlags);
    }
    m_results->show();
}

void HelpWindow::openHit(QListWidgetItem* item) {
    const QUrl page = item ? item->data(Qt::UserRole).toUrl() : QUrl();
    if (!page.isValid()) {
        return;
    }
    m_browser->setSource(page);
    findOnPage(true);
}

void HelpWindow::findOnPage(bool fromStart) {
    if (fromStart) {
        m_browser->moveCursor(QTextCursor::Start);
    }
    // The whole query where it stands together, else its first word; from
    // the top again after the last place.
    const QString first = wordsOf(m_lastQuery).value(0);
    for (const QString& text : {m_lastQuery, first}) {
        if (text.isEmpty()) {
            continue;
        }
        if (m_browser->find(text)) {
            return;
        }
        m_browser->moveCursor(QTextCursor::Start);
        if (m_browser->find(text)) {
            return;
        }
    }
}

} // namespace orlix::windows
