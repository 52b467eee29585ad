// Subcommands of isoloop-tool. Each takes the arguments after its own name
// and returns the process exit status (0 ok, 1 failure, 2 bad arguments).
#pragma once

int cmdPack(int argc, char** argv);
int cmdRenderMusic(int argc, char** argv);
int cmdExportMeshes(int argc, char** argv);
int cmdDumpTextures(int argc, char** argv);
int cmdFrame(int argc, char** argv);
int cmdCapture(int argc, char** argv);
