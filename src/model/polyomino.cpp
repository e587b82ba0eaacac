#include "model/polyomino.h"

#include <algorithm>

void CPolyomino::SetCells(std::int32_t nCount, const CellOffset* pCells) {
    m_pCells.reset();
    m_pInitial.reset();
    m_nCount = 0;
    if (nCount <= 0 || pCells == nullptr) {
        return;
    }
    nCount = std::min(nCount, static_cast<std::int32_t>(kMaxCells));
    m_pInitial = std::make_unique<CellOffset[]>(static_cast<std::size_t>(nCount));
    m_pCells = std::make_unique<CellOffset[]>(static_cast<std::size_t>(nCount));
    std::copy_n(pCells, nCount, m_pInitial.get());
    std::copy_n(m_pInitial.get(), nCount, m_pCells.get());
    m_nCount = nCount;
}

std::int32_t CPolyomino::GetCells(CellOffset* pBuffer) const {
    std::copy_n(m_pCells.get(), std::max(m_nCount, 0), pBuffer);
    return m_nCount;
}

void CPolyomino::RotateClockwise() {
    for (std::int32_t i = 0; i < m_nCount; ++i) {
        const CellOffset c = m_pCells[i];
        m_pCells[i] = {-c.y, c.x};
    }
}

void CPolyomino::RotateCounterclockwise() {
    for (std::int32_t i = 0; i < m_nCount; ++i) {
        const CellOffset c = m_pCells[i];
        m_pCells[i] = {c.y, -c.x};
    }
}

void CPolyomino::Mirror() {
    for (std::int32_t i = 0; i < m_nCount; ++i) {
        m_pCells[i].x = -m_pCells[i].x;
    }
}

void CPolyomino::Reset() {
    std::copy_n(m_pInitial.get(), std::max(m_nCount, 0), m_pCells.get());
}

namespace {

// Minus the smallest coordinate (x or y, as pCoordinate picks) of the squares. The running
// minimum starts at 100, so coordinates of 100 or more, and no squares at all, give -100; the
// catalogue's coordinates lie between -2 and 2.
std::int32_t Extent(const CellOffset* pCells, std::int32_t nCount,
                    std::int32_t CellOffset::*pCoordinate) {
    std::int32_t nMin = 100;
    for (std::int32_t i = 0; i < nCount; ++i) {
        nMin = std::min(nMin, pCells[i].*pCoordinate);
    }
    return -nMin;
}

}  // namespace

std::int32_t CPolyomino::GetTopExtent() const {
    return Extent(m_pCells.get(), m_nCount, &CellOffset::y);
}

std::int32_t CPolyomino::GetLeftExtent() const {
    return Extent(m_pCells.get(), m_nCount, &CellOffset::x);
}
