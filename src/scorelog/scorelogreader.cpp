#include "scorelog/scorelogreader.h"

#include <algorithm>
#include <cstring>
#include <limits>

std::int32_t ReadLogNumber(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::size_t i = 0;
    // White space as isspace sees it in the C locale, without depending on the locale.
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) {
        ++i;
    }
    bool bNegative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        bNegative = text[i] == '-';
        ++i;
    }
    // Accumulates the magnitude in 64 bits and stops growing once it is beyond the range, so no
    // number of digits can overflow it.
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t nMagnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (nMagnitude <= kLimit) {
            nMagnitude = nMagnitude * 10 + (text[i] - '0');
        }
    }
    if (bNegative) {
        return nMagnitude >= kLimit ? std::numeric_limits<std::int32_t>::min()
                                    : static_cast<std::int32_t>(-nMagnitude);
    }
    return nMagnitude >= kLimit ? std::numeric_limits<std::int32_t>::max()
                                : static_cast<std::int32_t>(nMagnitude);
}

namespace {

// The characters that end a run of ordinary text: LF, CR and Ctrl-Z.
constexpr std::array<bool, 256> kSpecial = [] {
    std::array<bool, 256> a{};
    a['\n'] = a['\r'] = a[0x1A] = true;
    return a;
}();

}  // namespace

void CScoreLogReader::Feed(const char* pData, std::size_t nSize) {
    while (nSize > 0) {
        if (m_bPendingCR) {
            // A CR is part of the line end only when the LF follows at once.
            if (*pData == '\x1A') {
                ++pData;
                --nSize;
                continue;
            }
            m_bPendingCR = false;
            if (*pData == '\n') {
                ++pData;
                --nSize;
                Put('\n');
            } else {
                Put('\r');
            }
            continue;
        }
        // The run of ordinary characters that fits into the current piece.
        const std::size_t nScan = std::min(nSize, kPieceChars - m_nLength);
        std::size_t nRun = 0;
        while (nRun < nScan && !kSpecial[static_cast<unsigned char>(pData[nRun])]) {
            ++nRun;
        }
        const bool bLineEnd = nRun < nScan && pData[nRun] == '\n';
        const std::size_t nTake = nRun + (bLineEnd ? 1 : 0);
        if (m_nLength == 0 && (bLineEnd || nTake == kPieceChars)) {
            // A whole piece in the input: tested where it stands.
            HandlePiece(std::string_view(pData, nTake));
        } else {
            std::memcpy(m_acPiece.data() + m_nLength, pData, nTake);
            m_nLength += nTake;
            if (bLineEnd || m_nLength == kPieceChars) {
                HandlePiece(std::string_view(m_acPiece.data(), m_nLength));
                m_nLength = 0;
            }
        }
        pData += nTake;
        nSize -= nTake;
        if (nRun < nScan && !bLineEnd) {
            // A CR waits for the next character; Ctrl-Z is dropped.
            m_bPendingCR = *pData == '\r';
            ++pData;
            --nSize;
        }
    }
}

void CScoreLogReader::Finish() {
    if (m_bPendingCR) {
        m_bPendingCR = false;
        Put('\r');
    }
    if (m_nLength > 0) {
        HandlePiece(std::string_view(m_acPiece.data(), m_nLength));
        m_nLength = 0;
    }
}

void CScoreLogReader::Put(char c) {
    m_acPiece[m_nLength++] = c;
    if (c == '\n' || m_nLength == kPieceChars) {
        HandlePiece(std::string_view(m_acPiece.data(), m_nLength));
        m_nLength = 0;
    }
}

// A prefix that matches has no NUL byte in it, and ReadLogNumber stops at the first NUL byte from
// the number's index on; a NUL between the two is passed over, so the piece does not end at its
// first NUL byte.
void CScoreLogReader::HandlePiece(std::string_view piece) {
    if (piece.starts_with(kScoreLinePrefix)) {
        m_nCurrentScore =
            piece.size() > kScoreNumberIndex ? ReadLogNumber(piece.substr(kScoreNumberIndex)) : 0;
    }
    if (piece.starts_with(kLevelLinePrefix)) {
        const std::int32_t nLevel =
            piece.size() > kLevelNumberIndex ? ReadLogNumber(piece.substr(kLevelNumberIndex)) : 0;
        if (nLevel >= 1 && nLevel <= kLevelCount) {
            std::int32_t& nBest = m_aBestScore[static_cast<std::size_t>(nLevel - 1)];
            if (nBest < m_nCurrentScore) {
                nBest = m_nCurrentScore;
            }
        }
    }
}

std::array<std::int32_t, kLevelCount> ReadBestScoresFrom(std::string_view text) {
    CScoreLogReader reader;
    reader.Feed(text.data(), text.size());
    reader.Finish();
    return reader.BestScores();
}
