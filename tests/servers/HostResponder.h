#pragma once

#include <string>

#include "HostBehaviour.h"
#include "HostRequest.h"

// Answers one file request from `root` the way `behaviour` asks, then ends the connection.
void AnswerFileRequest(int connection, const HostRequest& request, const HostBehaviour& behaviour,
                       const std::string& root);
