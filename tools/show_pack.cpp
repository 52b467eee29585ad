#include "show_pack.h"

#include "base/working_dir.h"
#include "texture/pack_file.h"
#include <vector>

bool showPackReady(std::string* why) {
    std::string path = std::string(workingDir[0] ? workingDir : ".") + "/julia.3ds";
    std::vector<PackPicture> pictures;
    std::string error;
    if (readPackFile(path, &pictures, &error)) return true;
    *why = "no picture pack to film the show with (" + error + ")";
    return false;
}
