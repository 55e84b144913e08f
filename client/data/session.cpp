#include "session.h"

DataSession::DataSession() : m_catalogue(std::make_shared<ParamCatalogue>()) {
    for (auto& h : m_handles) h.store(DB_INVALID_HANDLE);
}

DbHandle DataSession::Handle(int database) const {
    return database >= 0 && database < 4 ? m_handles[database].load() : DB_INVALID_HANDLE;
}

void DataSession::SetHandle(int database, DbHandle handle) {
    if (database >= 0 && database < 4) m_handles[database].store(handle);
}

std::shared_ptr<const ParamCatalogue> DataSession::Catalogue() const { return std::atomic_load(&m_catalogue); }

void DataSession::LoadCatalogue() {
    DbHandle h[4];
    for (int i = 0; i < 4; ++i) h[i] = Handle(i);
    std::shared_ptr<const ParamCatalogue> fresh = BuildCatalogue(h);
    std::atomic_store(&m_catalogue, fresh);
}

void DataSession::CloseAllDatabases() {
    for (auto& h : m_handles) {
        DbHandle old = h.exchange(DB_INVALID_HANDLE);
        if (old != DB_INVALID_HANDLE) dbCloseDatabase(old);
    }
}

void DataSession::Reconnect(const char* const paths[4]) {
    CloseAllDatabases();
    for (int i = 0; i < 4; ++i) m_handles[i].store(dbOpenDatabase(paths[i] ? paths[i] : "", 1, 1));
    LoadCatalogue();
}
