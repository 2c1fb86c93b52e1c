#pragma once

#include <filesystem>
#include <string>

namespace dolvane {

// The folders and files the program works with, derived once at start-up.
struct ProgramPaths {
    std::filesystem::path ProgramFolder;  // folder of the running executable
    std::string UserName;                 // the account name; names the per-user data folder
    std::filesystem::path ListFilePath;   // <program folder>/data/<user>/todolist.txt
    std::filesystem::path SiblingFolder;  // <program files>/Ｖｅｌｋ/ピマロ
    // The program was installed inside the sibling's folder, which then hosts it: settings
    // live in the sibling's store and the holiday file comes from its data folder.
    bool InsideSiblingFolder = false;
    // The holiday rules: the sibling's file when it hosts the program, else the one shipped in
    // the program's own data folder. Only ever read.
    std::filesystem::path HolidayFilePath;
    // The running executable's file name, which a copy into the sibling's folder keeps.
    std::string ExecutableName = "dolvane";
};

// `programFilesFolder` is the system's folder for installed programs ("/opt" here).
ProgramPaths DeriveProgramPaths(const std::filesystem::path& programFolder, const std::string& userName,
                                const std::filesystem::path& programFilesFolder);

}  // namespace dolvane
