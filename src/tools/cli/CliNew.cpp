// filtaro-cli new FILE: the parameter file of a fresh image, as the New
// command leaves it: all zero bytes, then the defaults.

#include "model/ParameterImage.h"
#include "storage/FileMessages.h"
#include "storage/ParameterFile.h"
#include "tools/cli/Cli.h"

int cliNew(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, BytePort&) {
    const CliArgs parsed(args, {});
    if (!parsed.error().empty()) {
        return cliFail(err, parsed.error(), 2);
    }
    if (parsed.positional().size() != 1) {
        return cliFail(err, "Aufruf: filtaro-cli new DATEI", 2);
    }
    const std::string& path = parsed.positional().front();
    ParameterImage image;  // zero bytes, so the working directory is empty
    applyDefaults(image);
    if (saveParameterFile(image, path) != 0) {
        return cliFail(err, fileSaveFailure(path));
    }
    out << "Parameterdatei " << path << " geschrieben.\n";
    return 0;
}
