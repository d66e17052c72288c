#include "controls/row_record.h"

#include <utility>

namespace controls {

namespace {
// The user-interface thread is the only one that makes or frees rows.
int liveRecords = 0;
} // namespace

RowRecord::RowRecord(std::vector<std::string> rowTexts, LPARAM ownerData)
    : texts(std::move(rowTexts)), userData(ownerData) {
    ++liveRecords;
}

RowRecord::~RowRecord() {
    --liveRecords;
}

int RowRecord::liveCount() {
    return liveRecords;
}

} // namespace controls
