// A station of the public radio directory (its search answer, or its JSON
// export) made into a catalogue record: the one mapping that the plugin's
// directory dialog and `rtv_tool import` share.
#pragma once

#include "catalogue/portable/json_reader.h"
#include "catalogue/portable/stream_record.h"
#include "catalogue/portable/text.h"

// Fills `record` (logo left zero, key colour FF00FF): the name in
// Windows-1252 ('?' for what it cannot hold; the address's host when nothing
// readable is left), radio, `url_resolved` else `url`, `homepage` when it is
// http(s), the tags (commas as spaces) then the country code and the
// language as keywords, the codec as format, "N kbit/s" as quality (none for
// 0). False, and the record unspecified, when the station has no stream
// address the catalogue takes or is not an object.
bool MakeDirectoryRecord(const JsonValue& station, StreamRecord& record);

// The station's logo address, "" when it has none.
Text DirectoryFavicon(const JsonValue& station);
