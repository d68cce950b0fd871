#include "data/HostAccess.h"

#include <cstring>

#include "data/Records.h"

namespace orv {

int32_t ReadInt32(HostRecord& record, int32_t property, int32_t element, int32_t fallback) {
    int32_t value = fallback;
    return record.GetProperty(property, &value, sizeof value, element) == 0 ? value : fallback;
}

int32_t ReadUInt16(HostRecord& record, int32_t property, int32_t element, int32_t fallback) {
    uint16_t value = 0;
    return record.GetProperty(property, &value, sizeof value, element) == 0 ? value : fallback;
}

int32_t ReadUInt8(HostRecord& record, int32_t property, int32_t element, int32_t fallback) {
    uint8_t value = 0;
    return record.GetProperty(property, &value, sizeof value, element) == 0 ? value : fallback;
}

float ReadFloat(HostRecord& record, int32_t property, int32_t element, float fallback) {
    float value = fallback;
    return record.GetProperty(property, &value, sizeof value, element) == 0 ? value : fallback;
}

std::string ReadName(HostNamed& named) {
    char buffer[kMaxNameBytes + 1] = {};
    named.GetName(buffer, sizeof buffer);
    buffer[kMaxNameBytes] = '\0';
    return std::string(buffer, strnlen(buffer, kMaxNameBytes));
}

int32_t WriteInt32(HostRecord& record, int32_t property, int32_t value, int32_t element) {
    return record.SetProperty(property, &value, sizeof value, element);
}

int32_t WriteUInt16(HostRecord& record, int32_t property, int32_t value, int32_t element) {
    const uint16_t v = static_cast<uint16_t>(value);
    return record.SetProperty(property, &v, sizeof v, element);
}

int32_t WriteUInt8(HostRecord& record, int32_t property, int32_t value, int32_t element) {
    const uint8_t v = static_cast<uint8_t>(value);
    return record.SetProperty(property, &v, sizeof v, element);
}

int32_t WriteFloat(HostRecord& record, int32_t property, float value, int32_t element) {
    return record.SetProperty(property, &value, sizeof value, element);
}

}  // namespace orv
