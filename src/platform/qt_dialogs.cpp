#include "platform/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace orlix::platform {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void QtDialogs::beforeModal() const {
    if (m_beforeModal) {
        m_beforeModal();
    }
}

void QtDialogs::message(std::string_view text, std::string_view title) {
    beforeModal();
    QMessageBox box(QMessageBox::NoIcon, qs(title), qs(text), QMessageBox::Ok, m_parent);
    // Text from the unit or a file is shown as it is, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::askYesNo(std::string_view text, std::string_view title) {
    beforeModal();
    QMessageBox box(QMessageBox::Question, qs(title), qs(text), QMessageBox::Yes | QMessageBox::No,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    return box.exec() == QMessageBox::Yes;
}

int QtDialogs::choose(std::string_view text, const std::vector<std::string>& buttons,
                      std::string_view title) {
    beforeModal();
    QMessageBox box(QMessageBox::Question, qs(title), qs(text), QMessageBox::NoButton, m_parent);
    box.setTextFormat(Qt::PlainText);
    std::vector<QAbstractButton*> added;
    for (const auto& caption : buttons) {
        added.push_back(box.addButton(qs(caption), QMessageBox::AcceptRole));
    }
    if (!added.empty()) {
        box.setEscapeButton(added.back());
    }
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (box.clickedButton() == added[i]) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

QString QtDialogs::qtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString pattern = parts[i + 1];
        pattern.replace(';', ' ');
        // Qt reads the patterns from the parentheses of the description.
        if (!description.contains('(')) {
            description += " (" + pattern + ")";
        } else {
            description =
                description.left(description.indexOf('(')).trimmed() + " (" + pattern + ")";
        }
        entries << description;
    }
    return entries.join(";;");
}

std::optional<FileChoice> QtDialogs::chooseFile(const FileDialogRequest& r, bool save) {
    beforeModal();
    QFileDialog dialog(m_parent);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(!save && r.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setNameFilter(qtFilter(r.filter));
    if (save) {
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !r.promptOverwrite);
    }
    if (!r.initialDir.empty() && QFileInfo(QString::fromStdString(r.initialDir)).isDir()) {
        dialog.setDirectory(QString::fromStdString(r.initialDir));
    }
    // A pattern such as "*.mdv" is what the filter already says.
    if (!r.initialName.empty() && r.initialName.find('*') == std::string::npos) {
        dialog.selectFile(QString::fromStdString(r.initialName));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString path = dialog.selectedFiles().front();
    return FileChoice{QDir::toNativeSeparators(path).toStdString(),
                      QFileInfo(path).fileName().toStdString()};
}

std::optional<FileChoice> QtDialogs::chooseOpenFile(const FileDialogRequest& request) {
    return chooseFile(request, false);
}

std::optional<FileChoice> QtDialogs::chooseSaveFile(const FileDialogRequest& request) {
    return chooseFile(request, true);
}

void QtDialogs::beep(int /*frequencyHz*/, int /*durationMs*/) {
    // Qt offers one system beep; pitch and length are the system's.
    QApplication::beep();
}

} // namespace orlix::platform
