// The setup's fixed texts that more than one page shows.
#pragma once

constexpr char kProductName[] = "Norvu";
constexpr char kSetupCaption[] = "Norvu - Setup";
constexpr char kConfirmCancel[] = "Are you sure you want to cancel the setup?";
constexpr char kNotEnoughSpace[] =
    "You do not have enough Free disk space on this drive for installation. "
    "Change the drive or remove some other program-s to free more disk space.";
constexpr char kSuccessFormat[] = "%s was successfully installed";
constexpr char kCancelText[] =
    "Setup was canceled. Any notes or errors you can send on my email: norvu-feedback@example.com";
