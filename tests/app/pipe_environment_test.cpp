#include "pipe_environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>

namespace {

const std::map<std::string, std::string> variables = {
    {"ALVO_BIN", "bin"},       {"ALVO_PIPES", "pipes"}, {"ALVO_LOG", "log"},
    {"ALVO_CONFIG", "config"}, {"ALVO_TEMP", "temp"},
};

TEST(PipeEnvironment, NameMapperKnowsExactlyTheFiveVariables) {
    for (const auto& [variable, option] : variables) {
        EXPECT_EQ(qrd::name_mapper_func(variable), option);
    }
    for (const char* other : {"ALVO_CONFIG_TEMPLATE", "alvo_config", "ALVO_", "PATH", ""}) {
        EXPECT_EQ(qrd::name_mapper_func(other), "") << other;
    }
}

TEST(PipeEnvironment, DefaultsUnlessAVariableIsSet) {
    for (const auto& entry : variables) unsetenv(entry.first.c_str());
    const std::map<std::string, std::string> defaults = {
        {"bin", "/usr/bin"},
        {"config", "/etc/corvane/alvoacq"},
        {"log", "/var/log/alvoacq"},
        {"pipes", "/usr/libexec/corvane/pipes"},
        {"temp", "/var/spool/corvane-io/temp"},
        {"config_template", "/etc/corvane/alvoacq_templates"},
    };
    const qrd::PipeEnvironment unset(nullptr);
    for (const auto& [option, value] : defaults) EXPECT_EQ(unset[option].as<std::string>(), value);

    for (const auto& [variable, option] : variables) {
        setenv(variable.c_str(), ("/x/" + option).c_str(), 1);
    }
    setenv("ALVO_CONFIG_TEMPLATE", "/x/template", 1);
    const qrd::PipeEnvironment set(nullptr);
    for (const auto& [variable, option] : variables) {
        EXPECT_EQ(set[option].as<std::string>(), "/x/" + option);
        unsetenv(variable.c_str());
    }
    EXPECT_EQ(set["config_template"].as<std::string>(), "/etc/corvane/alvoacq_templates");
    unsetenv("ALVO_CONFIG_TEMPLATE");
}

TEST(PipeEnvironment, ParentDescriptionGainsTheEnvironmentGroup) {
    boost::program_options::options_description parent("All");
    const qrd::PipeEnvironment environment(&parent);
    for (const char* option : {"bin", "config", "log", "pipes", "temp", "config_template"}) {
        EXPECT_NE(parent.find_nothrow(option, false), nullptr) << option;
    }
}

}  // namespace
