// The manual's window: the pages bundled in the program, shown with back,
// forward and contents, and a search over every page. Needs no network and
// no other program.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

#include <vector>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;

namespace orlix::windows {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    struct Hit {
        QUrl page;
        QString title;
    };
    // The pages that hold every word of `query` (case ignored), the best
    // first: words in a page's title count most, then how often they occur.
    std::vector<Hit> search(const QString& query);

private:
    struct Page {
        QUrl url;
        QString title;
        QString text; // lower case
    };
    void loadPages();
    void runSearch();
    void openHit(QListWidgetItem* item);
    void findOnPage(bool fromStart);

    QTextBrowser* m_browser;
    QLineEdit* m_search;
    QListWidget* m_results;
    std::vector<Page> m_pages;
    QString m_lastQuery;
};

} // namespace orlix::windows
