#include "core/app/file_commands.h"

#include "core/app/app.h"
#include "core/data/mdv_reader.h"
#include "core/data/mdv_writer.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>

namespace orlix {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kOpenFilter =
    "Monitor Data Files(*.mdv)|*.mdv|Text Files(*.txt)|*.txt|All files(*.*)|*.*";
constexpr std::string_view kChangedQuestion =
    "The data has been changed. Do you wish to save changes?";
// The handle number the data file state carries while a file is open.
constexpr std::int16_t kFileNumber = 1;

// The data file state, so that a failed command can put it back.
struct FileState {
    std::int16_t DiskFileNum;
    std::string DataFilePath;
    std::string DataFileTitle;
    bool FileIsOpen;
    bool FileOpenForInput;
    bool DataChanged;

    static FileState of(const MonitorData& d) {
        return {d.DiskFileNum, d.DataFilePath,     d.DataFileTitle,
                d.FileIsOpen,  d.FileOpenForInput, d.DataChanged};
    }
    void restore(MonitorData& d) const {
        d.DiskFileNum = DiskFileNum;
        d.DataFilePath = DataFilePath;
        d.DataFileTitle = DataFileTitle;
        d.FileIsOpen = FileIsOpen;
        d.FileOpenForInput = FileOpenForInput;
        d.DataChanged = DataChanged;
    }
};

} // namespace

std::string FileCommands::folderOf(std::string_view path) {
    constexpr char kNative = fs::path::preferred_separator;
    std::size_t cut = kNative == '\\' ? path.find_last_of("/\\") : path.rfind('/');
    if (cut == std::string_view::npos) {
        cut = path.rfind('\\');
    }
    if (cut != std::string_view::npos) {
        return std::string(path.substr(0, cut + 1));
    }
    // A bare file name lies in the current folder.
    std::error_code ec;
    const fs::path current = fs::current_path(ec);
    return ec ? std::string() : current.string() + kNative;
}

bool FileCommands::saveChangesFirst() {
    if (!m_app.data.DataChanged || !m_app.ports.dialogs.askYesNo(kChangedQuestion)) {
        return true;
    }
    return Save();
}

bool FileCommands::write() {
    App& app = m_app;
    MdvWriteHooks hooks;
    hooks.monitorConnected = app.link.MonitorConnected;
    hooks.now = app.ports.clock.localNow();
    hooks.message = [&app](std::string_view text) { app.ports.dialogs.message(text); };
    hooks.restartDataWalk = [&app] {
        app.frmMain.DataItemIndex = 0;
        app.frmMain.RequestDataItem(0);
    };
    hooks.busy = [&app](bool on) {
        app.mainView.busy = on;
        app.touch(WindowId::frmMain);
    };
    return WriteMDF(app.data, hooks);
}

void FileCommands::Open() {
    App& app = m_app;
    if (!saveChangesFirst()) {
        return;
    }
    FileDialogRequest request;
    request.filter = std::string(kOpenFilter);
    request.mustExist = true;
    const auto choice = app.ports.dialogs.chooseOpenFile(request);
    if (!choice) {
        return;
    }
    std::ifstream in;
    if (const auto reason = openForReading(choice->path, in)) {
        app.ports.dialogs.message("The data file " + choice->path +
                                  " cannot be opened: " + *reason);
        return;
    }
    MonitorData& d = app.data;
    const FileState before = FileState::of(d);
    const std::string captionBefore = app.mainView.caption;
    d.DiskFileNum = kFileNumber;
    d.DataFilePath = choice->path;
    d.DataFileTitle = choice->name;
    d.FileIsOpen = true;
    d.DataChanged = false;
    d.FileOpenForInput = true;
    app.SetMainCaption(d.DataFileTitle);

    MdvReadHooks hooks;
    hooks.message = [&app](std::string_view text) { app.ports.dialogs.message(text); };
    hooks.replyDispatcher = [&app](std::string_view text) { app.protocol.ReplyDispatcher(text); };
    const MdvReadResult result = ReadMDF(d, in, hooks);
    if (result == MdvReadResult::Refused) {
        // Not a data file: nothing of it was read, so what was open before
        // is still what is open, and the caption says so.
        before.restore(d);
        app.setCaption(WindowId::frmMain, captionBefore);
        return;
    }
    // A file that stopped at an error is not written back over itself by
    // Save: the lines after the error would be lost.
    m_canSaveAgain = result == MdvReadResult::Complete;
}

bool FileCommands::Save() {
    if (!m_canSaveAgain) {
        return SaveAs();
    }
    return writeOrRestore([](MonitorData&) {});
}

bool FileCommands::writeOrRestore(const std::function<void(MonitorData&)>& target) {
    MonitorData& d = m_app.data;
    const FileState before = FileState::of(d);
    d.DiskFileNum = kFileNumber;
    d.FileIsOpen = true;
    target(d);
    if (!write()) {
        before.restore(d);
        return false;
    }
    m_app.SetMainCaption(d.DataFileTitle);
    return true;
}

bool FileCommands::SaveAs() {
    App& app = m_app;
    const std::string ext(kDataFileExt);
    FileDialogRequest request;
    request.initialName = "*" + ext;
    request.initialDir = app.settings.readText(keys::FileSaveInitDir);
    request.filter = "Monitor Data Files (*" + ext + ")|*" + ext + "|All Files (*.*)|*.*";
    request.promptOverwrite = true;
    const auto choice = app.ports.dialogs.chooseSaveFile(request);
    if (!choice) {
        return false;
    }
    const bool written = writeOrRestore([&choice](MonitorData& d) {
        d.DataFilePath = choice->path;
        d.DataFileTitle = choice->name;
        d.DataChanged = false;
        d.FileOpenForInput = false;
    });
    if (!written) {
        return false;
    }
    app.settings.save(keys::FileSaveInitDir, folderOf(app.data.DataFilePath));
    m_canSaveAgain = true;
    return true;
}

void FileCommands::Close() {
    if (!saveChangesFirst()) {
        return;
    }
    MonitorData& d = m_app.data;
    d.FileIsOpen = false;
    d.DiskFileNum = 0;
    d.FileOpenForInput = false;
    m_canSaveAgain = false;
    m_app.SetMainCaption("");
}

} // namespace orlix
