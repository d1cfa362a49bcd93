// Objects that keep pointers into catalogue records (the stream editor's
// record, the list control's hovered link) register here so that they drop
// them before the catalogue frees a record.
#pragma once

struct StreamRecord;

class RecordReleaseListener {
public:
    virtual void OnRecordReleased(const StreamRecord* record) = 0;

protected:
    ~RecordReleaseListener() = default;
};

// True when `pointer` lies inside `record`'s 9264 bytes.
bool PointsIntoRecord(const void* pointer, const StreamRecord* record);
