// The File menu's commands on the monitor data file: Open, Save, Save As
// and Close. They choose the file through the dialogs port, keep the data
// file state of the monitor data, put the file's name into the main
// caption and call the reader and writer.
//
// No file is held open between commands: Open reads the whole file and
// closes it, the writer replaces the file in one step. FileIsOpen and
// FileOpenForInput still say what the user has open, as the commands and
// the writer expect.
//
// Save writes the file again that was last read in full or written; with
// no such file it is Save As. A command that fails shows why and leaves
// the file state as it was.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orlix {

class App;
struct MonitorData;

class FileCommands {
public:
    explicit FileCommands(App& app) : m_app(app) {}

    void Open();
    // True when the data was written.
    bool Save();
    bool SaveAs();
    void Close();

    // The changed-data question (Open, Close, and Exit); false when the
    // command must not go on (the user wanted the changes saved and they
    // were not).
    bool saveChangesFirst();

    // The folder of `path` with its trailing separator, as the setting
    // "FileSaveInitDir" keeps it ("C:\Data\a.mdv" gives "C:\Data\",
    // "/home/u/a.mdv" gives "/home/u/").
    static std::string folderOf(std::string_view path);

private:
    bool write();
    // Points the data file state at the target, writes, and puts the state
    // back as it was when the write fails.
    bool writeOrRestore(const std::function<void(MonitorData&)>& target);

    App& m_app;
    // DataFilePath names a file that was read in full or written, which
    // Save may write again.
    bool m_canSaveAgain = false;
};

} // namespace orlix
