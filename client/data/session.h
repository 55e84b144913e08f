// What the data access reads from: the four database handles, the GMT flag
// and the current catalogue. One instance lives in the application state;
// worker threads read it while the GUI thread may reconnect.
#pragma once

#include <atomic>
#include <memory>

#include "catalogue.h"
#include "dvrdb.h"

class DataSession {
public:
    DataSession();

    DbHandle Handle(int database) const;
    void SetHandle(int database, DbHandle handle);
    bool Gmt() const { return m_gmt.load(); }
    void SetGmt(bool on) { m_gmt.store(on); }

    // The catalogue as it is now. A reader keeps the snapshot it took for
    // as long as it uses records of it; a rebuild publishes a new one and
    // never changes a published catalogue.
    std::shared_ptr<const ParamCatalogue> Catalogue() const;
    void LoadCatalogue();

    // Closes the four databases and opens them again from the paths.
    void Reconnect(const char* const paths[4]);
    void CloseAllDatabases();

private:
    std::atomic<DbHandle> m_handles[4];
    std::atomic<bool> m_gmt{false};
    std::shared_ptr<const ParamCatalogue> m_catalogue;
};
