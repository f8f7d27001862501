#pragma once

#include <vulkan/vulkan.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What a Vulkan list query gave back. The choices made from these lists log
// their own sentences, so a failed query is kept as a status, not logged here.
enum class EnumerationStatus
{
    complete,
    countFailed,
    listFailed
};

template <typename T>
struct Enumeration
{
    EnumerationStatus status = EnumerationStatus::complete;
    std::vector<T> items;
};

// The two-call pattern: query(count, nullptr) for the count, then
// query(count, items) for the items. A count of 0 is a complete empty list.
template <typename T, typename Query>
Enumeration<T> enumerate(Query query)
{
    std::uint32_t count = 0;
    if (query(&count, nullptr) != VK_SUCCESS)
    {
        return {EnumerationStatus::countFailed, {}};
    }
    std::vector<T> items(count);
    if (count > 0 && query(&count, items.data()) != VK_SUCCESS)
    {
        return {EnumerationStatus::listFailed, {}};
    }
    items.resize(count);
    return {EnumerationStatus::complete, std::move(items)};
}

// The failure sentence of an enumeration that did not complete.
template <typename T>
std::optional<std::string> enumerationFailure(const Enumeration<T>& enumeration, const char* countSentence,
                                              const char* listSentence)
{
    switch (enumeration.status)
    {
    case EnumerationStatus::countFailed:
        return countSentence;
    case EnumerationStatus::listFailed:
        return listSentence;
    case EnumerationStatus::complete:
        break;
    }
    return std::nullopt;
}
