// The picture pack next to the tool, where the demo reads it next to itself.
// Without it the start-up draws a black loading picture and blank textures:
// a picture of something that is not the show.
#pragma once
#include <string>

// After setWorkingDir: true when workingDir/julia.3ds is a whole picture
// pack; otherwise false, with a one-line reason naming its path.
bool showPackReady(std::string* why);
