// The client's process-wide state, owned in one place: the database
// session (handles, catalogue, GMT flag), the configuration block, the
// dialog and frame counters, the program folder, the camera lock and the
// logs.
#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "config.h"
#include "frametable.h"
#include "logs.h"
#include "session.h"

class AppState {
public:
    static AppState& Get();

    // The program folder, ending in '/': $TRAKVUE_HOME, else the folder of
    // the executable.
    const std::string& ProgramFolder();
    void SetProgramFolder(const std::string& folder);  // tests

    DataSession session;
    ClientConfig config;
    FrameTable frames;
    bool firstRun = false;
    std::atomic<int> openDialogCount{0};
    std::atomic<int> openFrameCount{0};
    std::recursive_mutex cameraLock;
    WorkLog workLog;
    DebugLog debugLog;
    int themeActive = 0;

    // Opens the four databases of the configuration and rebuilds the catalogue.
    void ConnectDatabases();

private:
    AppState() = default;
    std::mutex m_folderMutex;
    std::string m_programFolder;
};

// Raises the open-dialog count for the life of a dialog.
class DialogCountGuard {
public:
    explicit DialogCountGuard(std::atomic<int>& counter) : m_counter(counter) { ++m_counter; }
    ~DialogCountGuard() { --m_counter; }
    DialogCountGuard(const DialogCountGuard&) = delete;
    DialogCountGuard& operator=(const DialogCountGuard&) = delete;

private:
    std::atomic<int>& m_counter;
};
