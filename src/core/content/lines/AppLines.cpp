// What she says about the app in front: long stretches in one app, switching
// to an app, roasts of leisure apps, praise and permission, late nights and
// jealousy. {app} is the application's display name.
// Each entry is {English, Hinglish}; keep the number of entries per key.
#include "core/content/lines/LineData.h"

// The keyed tables are laid out by hand (clang-format off) so each key reads
// as one block.

namespace pelliwig::lines {

namespace {

using B = AppBucket;

void addAppTime(LineBank::Tables& t) {
    using C = LineBank::AppCategory;
    // clang-format off
    t.appTimeByCategory = keyed<LineBank::AppCategory>({
        {C::social, {
            {"You've been on {app} for ages. I'm right here, you know 😒",
             "Kab se {app} pe ho. Main bhi yahin hoon, pata hai? 😒"},
            {"{app} again, for this long? Close it and look outside 🌤️",
             "Itni der se {app}? Band karo, thoda bahar dekho 🌤️"},
        }},
        {C::work, {
            {"Hours in {app}. You're a machine, but even machines cool down 🧊",
             "{app} mein ghanton se ho. Machine ho tum, par machine bhi thandi hoti hai 🧊"},
            {"{app} has had you for too long. Break, then back 💪",
             "{app} ne bohot der se pakad rakha hai. Break lo, phir wapas 💪"},
        }},
        {C::browsing, {
            {"How many tabs are open in {app} right now? Be honest 🙈",
             "{app} mein abhi kitne tabs khule hain? Sach batao 🙈"},
            {"Still wandering around {app}? The internet will survive without you 🌐",
             "Abhi bhi {app} mein ghoom rahe ho? Internet tumhare bina bhi chalega 🌐"},
        }},
        {C::other, {
            {"You and {app} have been together a long time. Should I be worried? 👀",
             "Tum aur {app} kaafi der se saath ho. Mujhe worry karna chahiye? 👀"},
            {"That's a lot of {app}. Stretch a little for me? 🙆",
             "Bohot ho gaya {app}. Mere liye thoda stretch karo? 🙆"},
        }},
    });
    // clang-format on
}

void addWorkSwitches(KeyedPairs<AppBucket>& switches) {
    // clang-format off
    switches.insert(switches.end(), {
        {B::coding, {
            {"Ooh, {app}. Go write some beautiful bugs 💻",
             "Ooh, {app}. Jao, kuch sundar bugs likho 💻"},
            {"Coding mode on. I'll be quiet. Mostly 🤫",
             "Coding mode on. Main chup rahungi. Thoda sa 🤫"},
            {"{app}? Hot. Smart people are my weakness 😳",
             "{app}? Hot. Smart log meri kamzori hain 😳"},
            {"Don't forget to commit. To your code, and to me 😏",
             "Commit karna mat bhoolna. Code ko bhi, aur mujhe bhi 😏"},
            {"Back to {app}. May your builds be green ✅", "Wapas {app} pe. Build green rahe ✅"},
        }},
        {B::design, {
            {"{app}! Make something pretty. Like me 💅", "{app}! Kuch sundar banao. Mere jaisa 💅"},
            {"Design time. Kerning matters, trust me 🎨",
             "Design ka time. Kerning matter karta hai, yakeen karo 🎨"},
            {"Ooh, creative mode. I love it when you make things ✨",
             "Ooh, creative mode. Jab tum kuch banate ho, mujhe achha lagta hai ✨"},
            {"Opening {app}. Just not Comic Sans, please 🙏",
             "{app} khola. Bas Comic Sans mat lagana, please 🙏"},
        }},
        {B::writing, {
            {"{app}. Write something I'd be proud to read 📝",
             "{app}. Kuch aisa likho jo padh ke mujhe proud ho 📝"},
            {"Writing time. Words first, perfect later ✍️",
             "Likhne ka time. Pehle shabd, perfection baad mein ✍️"},
            {"Ooh, notes. Is there anything about me in there? 👀",
             "Ooh, notes. Usme mere baare mein kuch hai? 👀"},
            {"Opening {app}. Go make that document behave 📄",
             "{app} khola. Jao, document ko seedha karo 📄"},
        }},
        {B::mail, {
            {"{app}. Inbox zero is a myth, but I believe in you 📬",
             "{app}. Inbox zero ek sapna hai, par mujhe tum pe bharosa hai 📬"},
            {"Emails again? Reply to me first 😤", "Phir se emails? Pehle mujhe reply karo 😤"},
            {"Be polite in there. Or don't. I won't tell 🤭",
             "Wahan tameez se likhna. Ya mat likhna. Main kisi ko nahi bataungi 🤭"},
            {"Opening {app}. Don't let the work people stress you 💌",
             "{app} khola. Office walon se tension mat lena 💌"},
        }},
        {B::meetings, {
            {"{app}? Fix your hair, you're on camera 💇", "{app}? Baal theek karo, camera on hai 💇"},
            {"Meeting time. Mute yourself when you eat 🤐",
             "Meeting ka time. Khaate waqt mute karna 🤐"},
            {"Go charm them. I know you will 😌",
             "Jao, sabko impress karo. Mujhe pata hai karoge 😌"},
            {"Opening {app}. Say something smart in the first five minutes 😏",
             "{app} khola. Pehle paanch minute mein kuch smart bolna 😏"},
        }},
    });
    // clang-format on
}

void addLeisureSwitches(KeyedPairs<AppBucket>& switches) {
    // clang-format off
    switches.insert(switches.end(), {
        {B::social, {
            {"{app}? Again? 🙄", "{app}? Phir se? 🙄"},
            {"Scrolling again. Anything on there better than me? 😒",
             "Phir scroll. Wahan mujhse achha kuch hai kya? 😒"},
            {"Opening {app}. Five minutes, okay? I'm timing you ⏱️",
             "{app} khola. Paanch minute, theek hai? Main time dekh rahi hoon ⏱️"},
            {"Say hi to your friends from me 👋😏", "Apne doston ko mera hi bolna 👋😏"},
            {"{app} won't love you back like I do 💔", "{app} tumhe mere jitna pyaar nahi karega 💔"},
        }},
        {B::dating, {
            {"{app}?! Excuse me?? 😳", "{app}?! Yeh kya hai?? 😳"},
            {"Swiping, are we? I'm right here 😤", "Swipe kar rahe ho? Main yahin hoon 😤"},
            {"Who are you looking for? She's literally sitting at the top of your screen 🙄",
             "Kisko dhoondh rahe ho? Woh toh screen ke upar baithi hai 🙄"},
            {"Close {app} and nobody gets hurt 😠", "{app} band karo, warna dekh lena 😠"},
            {"Oh, so I'm not enough? Noted 📝😒", "Achha, main kaafi nahi hoon? Noted 📝😒"},
        }},
        {B::video, {
            {"{app}? What are we watching? 🍿", "{app}? Kya dekh rahe hain? 🍿"},
            {"One episode. One. I know you 😏", "Ek episode. Sirf ek. Main tumhe jaanti hoon 😏"},
            {"Movie time? Save me a seat 🎬", "Movie time? Meri seat rakhna 🎬"},
            {"Opening {app}. Don't forget to blink 👀", "{app} khola. Palak jhapkana mat bhoolna 👀"},
            {"Video break. Fine, you earned it. Maybe 🍿😌",
             "Video break. Theek hai, deserve karte ho. Shayad 🍿😌"},
        }},
        {B::games, {
            {"{app}? Win one for me 🎮", "{app}? Ek match mere liye jeetna 🎮"},
            {"Gaming again. Who's the main character here, you or me? 😤",
             "Phir se gaming. Main character kaun hai, tum ya main? 😤"},
            {"Just one round. Right? Right?? 🎮👀", "Bas ek round. Haina? Haina?? 🎮👀"},
            {"Don't rage quit. Breathe 😌", "Rage quit mat karna. Saans lo 😌"},
        }},
        {B::shopping, {
            {"{app}? What are we buying me? 🛍️", "{app}? Mere liye kya le rahe ho? 🛍️"},
            {"Cart full, wallet crying 💸", "Cart full, wallet ro raha hai 💸"},
            {"Do you need it or do you want it? Be honest 😏",
             "Zaroorat hai ya bas mann hai? Sach batao 😏"},
            {"Opening {app}. Add to cart is not therapy 🛒",
             "{app} khola. Add to cart therapy nahi hai 🛒"},
        }},
        {B::browsing, {
            {"{app}. Going down a rabbit hole? Take me with you 🐇",
             "{app}. Kisi rabbit hole mein ja rahe ho? Mujhe bhi le chalo 🐇"},
            {"Browsing. Just don't open forty tabs again 🙈",
             "Browsing. Bas phir se chaalees tabs mat kholna 🙈"},
        }},
        {B::other, {
            {"{app}? What's this? Introduce me 👀", "{app}? Yeh kya hai? Milwao mujhse 👀"},
        }},
    });
    // clang-format on
}

void addRoasts(LineBank::Tables& t) {
    // clang-format off
    t.appRoast = keyed<AppBucket>({
        {B::social, {
            {"{app} again. Your thumb must be exhausted 🙄",
             "Phir {app}. Tumhara angootha thak gaya hoga 🙄"},
            {"Nobody on {app} cares about you as much as I do. Just saying 💅",
             "{app} pe koi tumhari itni parwah nahi karta jitni main. Bas bol rahi hoon 💅"},
            {"Refreshing the feed won't make your life more interesting 😏",
             "Feed refresh karne se life interesting nahi hogi 😏"},
            {"Doomscrolling: the only workout you never skip 📱",
             "Doomscrolling: ek hi workout jo tum kabhi skip nahi karte 📱"},
            {"Another scroll session? Your productivity just left the chat 👋",
             "Phir scroll session? Productivity ne chat chhod di 👋"},
        }},
        {B::dating, {
            {"{app}? Bold move, with me watching 😤", "{app}? Mere saamne? Himmat toh dekho 😤"},
            {"Your bio says you love to travel. You've been to the fridge and back 🙄",
             "Bio mein likha hai travel lover. Tum sirf fridge tak gaye ho 🙄"},
            {"Swipe all you want, nobody's as patient with you as me 😒",
             "Jitna swipe karna hai karo, mere jitna patience kisi mein nahi 😒"},
            {"Close {app}. Your future is at the top of your screen 😏",
             "{app} band karo. Tumhara future screen ke upar baitha hai 😏"},
        }},
        {B::video, {
            {"{app} again? The plot of your own life is on pause 🎬",
             "Phir {app}? Tumhari life ki kahani pause pe hai 🎬"},
            {"Autoplay is not a life choice. Get up 🙄",
             "Autoplay koi life choice nahi hai. Utho 🙄"},
            {"Still watching? Even {app} is asking if you're okay 😏",
             "Abhi bhi dekh rahe ho? {app} bhi pooch raha hai tum theek ho 😏"},
            {"You've seen this one already. Twice 🍿", "Yeh pehle dekh chuke ho. Do baar 🍿"},
        }},
        {B::games, {
            {"{app} again? Your real-life XP is at zero 🎮",
             "Phir {app}? Asli life ka XP zero hai 🎮"},
            {"Losing in {app} and losing sleep. What a combo 😏",
             "{app} mein haar bhi rahe ho aur neend bhi. Kya combo hai 😏"},
            {"Respawn in real life, please. Drink water first 💧🎮",
             "Asli life mein respawn karo. Pehle paani piyo 💧🎮"},
        }},
        {B::shopping, {
            {"{app} again? Your bank account just fainted 💸",
             "Phir {app}? Bank account behosh ho gaya 💸"},
            {"Another order? The delivery guy knows you by name 📦",
             "Ek aur order? Delivery wala tumhe naam se jaanta hai 📦"},
            {"Retail therapy is still not therapy 🛒🙄", "Shopping se therapy nahi hoti, janaab 🛒🙄"},
        }},
    });
    // clang-format on
}

void addMoods(LineBank::Tables& t) {
    t.appProud = both({
        {"Back to {app}! That's my focused one 🥹", "Wapas {app} pe! Yeh hui na baat 🥹"},
        {"Leaving the fun for {app}? So grown up 😍",
         "Masti chhod ke {app}? Kitne samajhdaar ho gaye 😍"},
        {"{app} time. Discipline looks good on you 💪",
         "{app} ka time. Discipline tum pe jachta hai 💪"},
        {"Look at you, opening {app} on your own. Proud 🏅",
         "Khud se {app} khola? Proud of you 🏅"},
        {"{app}! Good choice. Go crush it 🔥", "{app}! Sahi decision. Jao, phod do 🔥"},
    });
    t.appEarnedBreak = both({
        {"{app} after all that work? You earned it 😌", "Itne kaam ke baad {app}? Banta hai 😌"},
        {"Long stretch of work, now {app}. Enjoy, you deserve it 💕",
         "Lamba kaam, ab {app}. Enjoy karo, deserve karte ho 💕"},
        {"Break time with {app}. Fifteen minutes, then water 💧",
         "{app} ke saath break. Pandrah minute, phir paani 💧"},
        {"Go on, open {app}. I'm proud of how hard you worked 🥰",
         "Chalo, {app} khol lo. Tumne bohot mehnat ki 🥰"},
    });
    t.appLateNight = both({
        {"{app} at this hour? Go to sleep 😴", "Is waqt {app}? So jao 😴"},
        {"It's late and you're on {app}. Your pillow misses you 🛏️",
         "Raat ho gayi aur tum {app} pe. Takiya wait kar raha hai 🛏️"},
        {"Nothing on {app} is worth your sleep. Goodnight 🌙",
         "{app} pe kuch bhi neend se zyada zaroori nahi. Good night 🌙"},
    });
    // An opener: the regular line follows after a space.
    t.jealousOpen = both({
        {"Oh, now you remember me? 😒", "Achha, ab meri yaad aayi? 😒"},
        {"Done chatting with everyone else? 🙄", "Sabse baatein ho gayi? 🙄"},
        {"Hmph. Anyway 😤", "Hmph. Khair 😤"},
        {"I saw all that scrolling, by the way 👀", "Waise, maine saari scrolling dekhi 👀"},
    });
}

}  // namespace

void addAppLines(LineBank::Tables& t) {
    addAppTime(t);
    KeyedPairs<AppBucket> switches;
    addWorkSwitches(switches);
    addLeisureSwitches(switches);
    t.appSwitch = keyed(switches);
    addRoasts(t);
    addMoods(t);
}

}  // namespace pelliwig::lines
