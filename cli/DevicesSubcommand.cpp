#include "cli/DevicesSubcommand.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <vector>

#include "engine/AudioCardManager.h"

namespace NSQuillet::NSCli {

namespace {

using NSSoundPortKit2::SDeviceInfo;
using NSSoundPortKit2::SHostApiInfo;

class CDevicesSubcommand final : public ISubcommand {
public:
    explicit CDevicesSubcommand(CLI::App& app) {
        auto* command = app.add_subcommand("devices", "List the audio host APIs and output devices");
        command->add_flag("--json", fJson, "Print one JSON object");
    }

    EExitCode Run(SSubcommandContext& context) override {
        CAudioCardManager& manager = CAudioCardManager::Get();
        // The devices first: reading them rescans the machine, and the host APIs follow it.
        const std::vector<SDeviceInfo> devices = manager.GetDevices();
        const std::vector<SHostApiInfo> hostApis = manager.GetHostApis();
        if (fJson) {
            PrintJson(context, hostApis, devices);
        } else {
            PrintTable(context, hostApis, devices);
        }
        return kExitSuccess;
    }

private:
    static void PrintJson(SSubcommandContext& context, const std::vector<SHostApiInfo>& hostApis,
                          const std::vector<SDeviceInfo>& devices) {
        nlohmann::json apis = nlohmann::json::array();
        for (const SHostApiInfo& api : hostApis) apis.push_back({{"name", api.fName}, {"device_count", api.fDeviceCount}});
        nlohmann::json list = nlohmann::json::array();
        for (const SDeviceInfo& device : devices) {
            list.push_back({{"host_api", device.fHostApi},
                            {"name", device.fName},
                            {"channels", device.fOutputChannels},
                            {"default_rate", device.fDefaultRate},
                            {"default", device.fIsDefault}});
        }
        context.fOut << nlohmann::json{{"host_apis", apis}, {"devices", list}}.dump() << '\n';
    }

    static void PrintTable(SSubcommandContext& context, const std::vector<SHostApiInfo>& hostApis,
                           const std::vector<SDeviceInfo>& devices) {
        context.fOut << "host APIs:";
        const char* separator = " ";
        for (const SHostApiInfo& api : hostApis) {
            context.fOut << separator << api.fName << " (" << api.fDeviceCount << (api.fDeviceCount == 1 ? " device)" : " devices)");
            separator = ", ";
        }
        context.fOut << '\n';
        char line[512];
        std::snprintf(line, sizeof line, "%-10s %-40s %8s %12s %-7s\n", "host API", "device", "channels", "default rate",
                      "default");
        context.fOut << line;
        for (const SDeviceInfo& device : devices) {
            std::snprintf(line, sizeof line, "%-10s %-40s %8d %12u %-7s\n", device.fHostApi.c_str(), device.fName.c_str(),
                          int(device.fOutputChannels), unsigned(device.fDefaultRate), device.fIsDefault ? "yes" : "no");
            context.fOut << line;
        }
    }

    bool fJson = false;
};

}  // namespace

std::unique_ptr<ISubcommand> MakeDevicesSubcommand(CLI::App& app) { return std::make_unique<CDevicesSubcommand>(app); }

}  // namespace NSQuillet::NSCli
