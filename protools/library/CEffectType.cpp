#include "protools/library/CEffectType.h"

#include "protools/library/CDAEError.h"
#include "protools/library/MultiLengthName.h"
#include "protools/library/include/PIHostInterface.h"

#include <algorithm>

namespace {
constexpr std::int32_t kStemGestalt = 29;
}

CEffectType::CEffectType(std::uint32_t typeID, std::uint32_t productID, std::int32_t configuration)
    : idOfType(typeID), idOfProduct(productID), configurationValue(configuration)
{
}

CEffectType::~CEffectType() = default;

void CEffectType::defineTypeNames(std::string names)
{
    nameList = std::move(names);
}

std::string CEffectType::name(int maxLength) const
{
    return pickMultiLengthName(nameList, maxLength);
}

void CEffectType::defineSampleRateSupport(std::int32_t support)
{
    rateSupport = support;
}

void CEffectType::addGestalt(std::int32_t selector)
{
    if (std::find(gestaltList.begin(), gestaltList.end(), selector) == gestaltList.end())
        gestaltList.push_back(selector);
}

std::int32_t CEffectType::channelsOfStemFormat(std::int32_t code)
{
    static constexpr std::int32_t channels[] = {1, 2, 3, 4, 4, 5, 6, 6, 7, 7, 8};
    if (code < 0 || code >= std::int32_t(std::size(channels))) throw CDAEError(PI_ErrInternal);
    return channels[code];
}

void CEffectType::defineStemFormats(std::int32_t inputFormat, std::int32_t outputFormat, std::int32_t option)
{
    const std::int32_t in = channelsOfStemFormat(inputFormat);
    const std::int32_t out = channelsOfStemFormat(outputFormat);
    inFormat = inputFormat;
    outFormat = outputFormat;
    stemOptionValue = option;
    inChannels = in;
    outChannels = out;
    addGestalt(kStemGestalt);
}

void CEffectType::attachProcessCreator(ProcessCreator processCreator)
{
    creator = processCreator;
}

void CEffectType::definePageTablesName(std::string name)
{
    pageTables = std::move(name);
}

CProcess* CEffectType::createProcess() const
{
    return creator ? creator() : nullptr;
}
