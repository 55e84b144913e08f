#include "appstate.h"

#include "platform/platform.h"

AppState& AppState::Get() {
    static AppState state;
    return state;
}

const std::string& AppState::ProgramFolder() {
    std::lock_guard<std::mutex> lock(m_folderMutex);
    if (m_programFolder.empty()) {
        std::string home = platform::GetEnv("TRAKVUE_HOME");
        if (home.empty()) home = platform::ExecutableDirectory();
        if (home.back() != '/') home += '/';
        m_programFolder = home;
    }
    return m_programFolder;
}

void AppState::SetProgramFolder(const std::string& folder) {
    std::lock_guard<std::mutex> lock(m_folderMutex);
    m_programFolder = folder;
    if (!m_programFolder.empty() && m_programFolder.back() != '/') m_programFolder += '/';
}

void AppState::ConnectDatabases() {
    std::string paths[4];
    const char* p[4];
    for (int i = 0; i < 4; ++i) {
        paths[i] = config.Path(i);
        p[i] = paths[i].c_str();
    }
    session.Reconnect(p);
}
