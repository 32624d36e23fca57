// The instruction-set path of a separate dlslab-cli process, chosen by DLSLAB_ISA.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include "model/isa_path.h"
#include "model/square_catalogue.h"

namespace dlslab {
namespace {

/// stdout and stderr of dlslab-cli run with DLSLAB_ISA=isa (unset when empty) and args.
std::string run_cli_process(const std::string& isa, const std::string& args) {
  const std::string command =
      (isa.empty() ? std::string("env -u DLSLAB_ISA ") : "env DLSLAB_ISA=" + isa + " ") +
      DLSLAB_CLI_PATH + " " + args + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return "popen failed";
  std::string out;
  std::array<char, 4096> buffer{};
  while (std::fgets(buffer.data(), buffer.size(), pipe) != nullptr) out += buffer.data();
  pclose(pipe);
  return out;
}

TEST(CliIsaPath, VersionNamesThePathInUse) {
  const std::string best(isa_path_name(supported_isa_paths().back()));
  EXPECT_NE(run_cli_process("", "--version").find("Engines: " + best + " ("), std::string::npos);
  for (const IsaPath path : supported_isa_paths()) {
    const std::string name(isa_path_name(path));
    const std::string out = run_cli_process(name, "--version");
    EXPECT_NE(out.find("Engines: " + name + " ("), std::string::npos) << out;
  }
}

TEST(CliIsaPath, UnknownPathIsReportedAndTheBestTaken) {
  const std::string best(isa_path_name(supported_isa_paths().back()));
  const std::string out = run_cli_process("fastest", "--version");
  EXPECT_NE(
      out.find(
          "dlslab-cli: DLSLAB_ISA=fastest is not one of scalar, avx2, avx512, avx512vp2i; using " +
          best + "\n"),
      std::string::npos)
      << out;
  EXPECT_NE(out.find("Engines: " + best + " ("), std::string::npos);
}

TEST(CliIsaPath, EveryPathPrintsTheSameMates) {
  // A square with ten mates, each printed in full.
  const std::string args = "--square " + std::string(kSpecialSquares[13].digits) + " \"Get ODLS\"";
  const std::string reference = run_cli_process("scalar", args);
  EXPECT_NE(reference.find("DLS 10: "), std::string::npos) << reference;
  for (const IsaPath path : supported_isa_paths())
    EXPECT_EQ(run_cli_process(std::string(isa_path_name(path)), args), reference)
        << isa_path_name(path);
}

}  // namespace
}  // namespace dlslab
