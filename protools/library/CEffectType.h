// An effect type of the group: what Pro Tools can insert. It carries its IDs, names, sample-rate support,
// gestalts and stem, and makes one process per insert through the plug-in's process creator.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CProcess;

class CEffectType {
public:
    using ProcessCreator = CProcess* (*)();

    CEffectType(std::uint32_t typeID, std::uint32_t productID, std::int32_t configuration);
    virtual ~CEffectType();
    CEffectType(const CEffectType&) = delete;
    CEffectType& operator=(const CEffectType&) = delete;

    virtual int kind() const = 0;  // PI_TypeRTAS

    void defineTypeNames(std::string names);
    void defineSampleRateSupport(std::int32_t support);
    void addGestalt(std::int32_t selector);
    // Stem format codes of input and output; throws CDAEError(PI_ErrInternal) for an unknown code.
    void defineStemFormats(std::int32_t inputFormat, std::int32_t outputFormat, std::int32_t option);
    void attachProcessCreator(ProcessCreator creator);
    void definePageTablesName(std::string name);

    std::uint32_t typeID() const { return idOfType; }
    std::uint32_t productID() const { return idOfProduct; }
    std::int32_t configuration() const { return configurationValue; }
    const std::string& names() const { return nameList; }
    std::string name(int maxLength) const;
    std::int32_t sampleRateSupport() const { return rateSupport; }
    const std::vector<std::int32_t>& gestalts() const { return gestaltList; }
    std::int32_t inputFormat() const { return inFormat; }
    std::int32_t outputFormat() const { return outFormat; }
    std::int32_t stemOption() const { return stemOptionValue; }
    std::int32_t inputChannels() const { return inChannels; }
    std::int32_t outputChannels() const { return outChannels; }
    const std::string& pageTablesName() const { return pageTables; }

    // A new process for an insert; null when there is no creator or it could not make one.
    CProcess* createProcess() const;

    // Channels of a stem format code; throws CDAEError(PI_ErrInternal) for an unknown code.
    static std::int32_t channelsOfStemFormat(std::int32_t code);

private:
    std::uint32_t idOfType;
    std::uint32_t idOfProduct;
    std::int32_t configurationValue;
    std::string nameList;
    std::int32_t rateSupport = 0;
    std::vector<std::int32_t> gestaltList;
    std::int32_t inFormat = -1;
    std::int32_t outFormat = -1;
    std::int32_t stemOptionValue = 0;
    std::int32_t inChannels = 0;
    std::int32_t outChannels = 0;
    ProcessCreator creator = nullptr;
    std::string pageTables;
};
