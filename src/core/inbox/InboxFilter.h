#pragma once

// The list filters, in menu order.
enum class InboxFilter { all, direct, unread, focused, review };
