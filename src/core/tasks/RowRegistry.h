#pragma once
// The rows of every file list with their entries, in list order, and one slot per zone for
// the qpdf process working for it and the row it works on. One lock guards all of it; it is
// held only for look-ups and updates, never while qpdf runs or a dialog is open.

#include "core/converter/ProcessSlot.h"
#include "core/converter/RowEntry.h"
#include "core/tasks/PasswordHandshake.h"
#include "core/tasks/RowId.h"

#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

class RowRegistry {
public:
    static constexpr int kSlotCount = 21;      // zones 0 to 20
    static constexpr int kInspectionSlot = 19; // the inspection worker's slot

    using Row = std::pair<RowId, RowEntry>;

    bool isRegistered(RowId row) const;
    std::optional<RowEntry> copy(RowId row) const;
    // False when the row is not registered (any more).
    bool update(RowId row, const RowEntry& entry);
    void append(RowId row, RowEntry entry);
    bool erase(RowId row);
    void eraseZone(int zone);
    // Moves the row to where the zone's row at newIndex stands; false when either is missing
    // or they are the same.
    bool move(RowId row, int zone, int newIndex);
    std::optional<Row> nextNotInspected(int zone) const;
    std::optional<Row> nextPending(int zone) const;
    std::vector<Row> rowsOfZone(int zone) const;

    // Runs the change under the lock when the row is registered; false otherwise. The change
    // may post to the window: the row cannot go away meanwhile.
    bool withRow(RowId row, const std::function<void(RowEntry&)>& change);
    // Runs the function under the lock (for look-ups that span several rows).
    void locked(const std::function<void(std::vector<Row>&)>& function);

    Converter::ProcessSlot& slot(int zone);
    void setCurrentRow(int zone, RowId row);
    RowId currentRow(int zone) const;

    PasswordHandshake& passwordHandshake() { return m_handshake; }

    // Shutdown: workers stop at their next step, running qpdf children are ended, a waiting
    // inspection is released.
    void requestStop();
    bool stopping() const { return m_stopping.load(); }

private:
    static bool validZone(int zone) { return zone >= 0 && zone < kSlotCount; }
    std::vector<Row>::iterator find(RowId row);
    std::vector<Row>::const_iterator find(RowId row) const;

    mutable std::mutex m_mutex;
    std::vector<Row> m_rows;
    std::array<Converter::ProcessSlot, kSlotCount> m_slots;
    std::array<RowId, kSlotCount> m_currentRows{};
    PasswordHandshake m_handshake;
    std::atomic<bool> m_stopping{false};
};
