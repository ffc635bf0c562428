"""The 64-bit saver where the Windows folder cannot be written: Windows never
redirects a 64-bit program's writes to a VirtualStore, so without the move to
the user's own file it could save nothing on Windows Vista to 11. The same
show as the 32-bit suite's, in a 64-bit prefix of a user who is not root;
it writes the user's file byte for byte as the 32-bit saver does."""
from test_closed_windows_folder import (closed_prefix, no_user_file,  # noqa: F401 (fixtures)
                                        test_the_show_ends_without_a_box_and_the_next_show_resumes)
