#include "core/tasks/RowRegistry.h"

#include <algorithm>

std::vector<RowRegistry::Row>::iterator RowRegistry::find(RowId row)
{
    return std::find_if(m_rows.begin(), m_rows.end(), [row](const Row& r) { return r.first == row; });
}

std::vector<RowRegistry::Row>::const_iterator RowRegistry::find(RowId row) const
{
    return std::find_if(m_rows.begin(), m_rows.end(), [row](const Row& r) { return r.first == row; });
}

bool RowRegistry::isRegistered(RowId row) const
{
    std::lock_guard lock(m_mutex);
    return find(row) != m_rows.end();
}

std::optional<RowEntry> RowRegistry::copy(RowId row) const
{
    std::lock_guard lock(m_mutex);
    const auto it = find(row);
    if (it == m_rows.end())
        return std::nullopt;
    return it->second;
}

bool RowRegistry::update(RowId row, const RowEntry& entry)
{
    std::lock_guard lock(m_mutex);
    const auto it = find(row);
    if (it == m_rows.end())
        return false;
    it->second = entry;
    return true;
}

void RowRegistry::append(RowId row, RowEntry entry)
{
    std::lock_guard lock(m_mutex);
    m_rows.emplace_back(row, std::move(entry));
}

bool RowRegistry::erase(RowId row)
{
    std::lock_guard lock(m_mutex);
    const auto it = find(row);
    if (it == m_rows.end())
        return false;
    m_rows.erase(it);
    return true;
}

void RowRegistry::eraseZone(int zone)
{
    std::lock_guard lock(m_mutex);
    std::erase_if(m_rows, [zone](const Row& r) { return r.second.zone == zone; });
}

bool RowRegistry::move(RowId row, int zone, int newIndex)
{
    std::lock_guard lock(m_mutex);
    const auto from = find(row);
    int index = 0;
    auto to = m_rows.end();
    for (auto it = m_rows.begin(); it != m_rows.end(); ++it) {
        if (it->second.zone != zone)
            continue;
        if (index++ == newIndex) {
            to = it;
            break;
        }
    }
    if (from == m_rows.end() || to == m_rows.end() || from == to)
        return false;
    if (from < to)
        std::rotate(from, from + 1, to + 1);
    else
        std::rotate(to, from, from + 1);
    return true;
}

std::optional<RowRegistry::Row> RowRegistry::nextNotInspected(int zone) const
{
    std::lock_guard lock(m_mutex);
    for (const Row& r : m_rows) {
        if (r.second.zone == zone && !r.second.inspected)
            return r;
    }
    return std::nullopt;
}

std::optional<RowRegistry::Row> RowRegistry::nextPending(int zone) const
{
    std::lock_guard lock(m_mutex);
    for (const Row& r : m_rows) {
        if (r.second.zone == zone && r.second.pending)
            return r;
    }
    return std::nullopt;
}

std::vector<RowRegistry::Row> RowRegistry::rowsOfZone(int zone) const
{
    std::lock_guard lock(m_mutex);
    std::vector<Row> rows;
    for (const Row& r : m_rows) {
        if (r.second.zone == zone)
            rows.push_back(r);
    }
    return rows;
}

bool RowRegistry::withRow(RowId row, const std::function<void(RowEntry&)>& change)
{
    std::lock_guard lock(m_mutex);
    const auto it = find(row);
    if (it == m_rows.end())
        return false;
    change(it->second);
    return true;
}

void RowRegistry::locked(const std::function<void(std::vector<Row>&)>& function)
{
    std::lock_guard lock(m_mutex);
    function(m_rows);
}

Converter::ProcessSlot& RowRegistry::slot(int zone)
{
    return m_slots.at(static_cast<std::size_t>(zone)); // throws for a zone without a slot
}

void RowRegistry::setCurrentRow(int zone, RowId row)
{
    std::lock_guard lock(m_mutex);
    if (validZone(zone))
        m_currentRows[static_cast<std::size_t>(zone)] = row;
}

RowId RowRegistry::currentRow(int zone) const
{
    std::lock_guard lock(m_mutex);
    return validZone(zone) ? m_currentRows[static_cast<std::size_t>(zone)] : 0;
}

void RowRegistry::requestStop()
{
    m_stopping = true;
    m_handshake.stop();
    for (Converter::ProcessSlot& slot : m_slots)
        slot.close();
}
