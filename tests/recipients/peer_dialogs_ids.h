#pragma once
#define IDD_PEER_ENTRY_VIEW 103
#define IDD_PEER_PHONEBOOK 600
