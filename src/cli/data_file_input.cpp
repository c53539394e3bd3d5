#include "cli/data_file_input.h"

#include "cli/terminal_output.h"
#include "core/dataview/data_set_loader.h"

#include <QFileInfo>

namespace orlix::cli {

std::optional<MonitorData> loadDataFile(const QString& path) {
    LoadedDataSet loaded = loadDataSet(path.toStdString());
    if (loaded.ok) {
        return std::move(loaded.data);
    }
    // A read that stopped at a line leaves the file open; one refused at the
    // start (not a data file, another version) closes it.
    const QFileInfo file(path);
    const char* hint =
        !file.isFile() || !file.isReadable()
            ? ". Check the file's name and folder, and that you may read it."
        : loaded.data.FileIsOpen
            ? ". Correct the file there, or write a new one from the unit with 'orlix6-cli "
              "read -o FILE.mdv'."
            : ". Choose a data file written by orlix6 (.mdv), or write one from the unit with "
              "'orlix6-cli read -o FILE.mdv'.";
    errorLine(loaded.error + hint);
    return std::nullopt;
}

} // namespace orlix::cli
