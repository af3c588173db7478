#pragma once
// The boot and login that the next start compares against. Only what this
// start could tell is stored: a start that cannot tell its login leaves the
// stored one as it is, so a later start in that login is still known as such.
class ApplicationHelping;
class UserDefaults;

class LoginRecord {
public:
    static void storeCurrentLogin(UserDefaults& defaults, const ApplicationHelping& helpers);
};
