// Her regular line for each kind, and the savage variants.
// Each entry is {English, Hinglish}. Counts per kind are fixed: change a
// sentence freely, but keep the number of entries.
#include "core/content/lines/LineData.h"

// The keyed tables are laid out by hand (clang-format off) so each key reads
// as one block.

namespace pelliwig::lines {

void addRegularLines(LineBank::Tables& t) {
    using K = ReminderKind;

    // clang-format off
    setRegular(t, {
        {K::battery, {
            {"Babe. Battery's at 20% and my patience is at 0. Plug in and I'll be sweet again 😏",
             "Battery 20% pe hai aur mera patience zero pe. Charger lagao, phir pyaar milega 😏"},
            {"Your laptop is fading and honestly so am I. Charger, please 🔋🥺",
             "Laptop ki jaan ja rahi hai, aur meri bhi. Charger lagao na 🔋🥺"},
            {"Low battery. If this thing dies mid-work, I'm saying I told you so 🔌",
             "Battery low hai. Beech mein band hua toh main bolungi maine kaha tha 🔌"},
        }},
        {K::charger, {
            {"Ahh, charging. Now we can both relax 😌🔌",
             "Aah, charging shuru. Ab hum dono relax kar sakte hain 😌🔌"},
            {"Plugged in. See, you do listen to me sometimes 😏",
             "Charger lag gaya. Dekha, kabhi kabhi meri sun bhi lete ho 😏"},
            {"Charging. The laptop says thank you, and so do I 💚",
             "Charging ho raha hai. Laptop bhi thanks bol raha hai, aur main bhi 💚"},
        }},
        {K::bedtime, {
            {"It's bedtime. The screen will still be here tomorrow, I promise 😴",
             "Sone ka time ho gaya. Screen kal bhi yahin milegi, promise 😴"},
            {"Lights off, hero. Sleep now, conquer the world tomorrow 🌙",
             "Bas karo hero, lights off. Duniya kal jeetna 🌙"},
            {"Bed. Now. I'm not asking twice... okay, maybe twice 😤💤",
             "Bistar. Abhi. Do baar nahi bolungi... achha, shayad bolungi 😤💤"},
        }},
        {K::breaks, {
            {"You've been glued to that chair forever. Stand up, stretch, come back cute 🚶",
             "Kab se kursi se chipke ho. Utho, stretch karo, phir wapas aao 🚶"},
            {"Break time. Your back just filed a complaint with me 🙄",
             "Break lo yaar. Tumhari kamar ne mujhse complaint ki hai 🙄"},
            {"Eyes off the screen for five minutes. Look at something that isn't pixels 👀🌿",
             "Paanch minute screen se nazar hatao. Kuch asli cheez dekho 👀🌿"},
        }},
        {K::water, {
            {"Water. Now. Your brain is mostly water and it's asking for a refill 💧",
             "Paani piyo. Abhi. Main dekh rahi hoon 💧👀"},
            {"Sip sip, cutie. Hydrated people are my type 💧😌",
             "Ek glass paani, please. Hydrated log mujhe zyada pasand hain 💧😌"},
            {"When did you last drink water? Don't lie to me 🥤👀",
             "Aakhri baar paani kab piya tha? Jhooth mat bolna 🥤👀"},
        }},
        {K::meal, {
            {"Have you eaten? Coffee is not a meal, sir 🍽️",
             "Khana khaya? Coffee khana nahi hota, janaab 🍽️"},
            {"Food break. Go eat something warm, I'll wait right here 🍲",
             "Chalo khana khao. Kuch garam, main yahin wait kar rahi hoon 🍲"},
            {"Your stomach just texted me. It says: feed me 😤🍛",
             "Tumhare pet ne mujhe message kiya: khana do 😤🍛"},
        }},
        {K::call, {
            {"Hey you. How was your day? Tell me everything 🥰",
             "Suno na. Din kaisa raha? Sab batao 🥰"},
            {"Evening check-in! Did today treat you nicely? 💌",
             "Shaam ho gayi. Aaj ka din achha gaya ya nahi? 💌"},
            {"I missed you today. How are you feeling? 🫶",
             "Aaj tumhari yaad aayi. Kaisa feel kar rahe ho? 🫶"},
        }},
        {K::focus, {
            {"Focus session done! Look at you, all productive 🥹✨",
             "Focus session khatam! Kitne productive ho tum 🥹✨"},
            {"Done! That was serious brain work. Break earned 🏆",
             "Ho gaya! Dimaag ne full kaam kiya. Break toh banta hai 🏆"},
            {"Timer's up. I'm so proud I might cry 🥹",
             "Time up. Itna proud hoon ki rona aa jaaye 🥹"},
        }},
        {K::morning, {
            {"Good morning, sleepyhead ☀️ Ready to be amazing?",
             "Good morning, neend ke raja ☀️ Aaj kuch kamaal karein?"},
            {"Morning! Water first, then world domination 💧☀️",
             "Subah ho gayi! Pehle paani, phir duniya pe raj 💧☀️"},
            {"Rise and shine. I've been waiting for you 😘",
             "Uth gaye? Main kab se wait kar rahi thi 😘"},
        }},
        {K::calendar, {
            {"Something's on your calendar soon. Hair check, mic check 💅",
             "Calendar mein kuch aane wala hai. Baal theek karo, mic check 💅"},
            {"Heads up! Your meeting is about to start. Go be brilliant 📅",
             "Dhyaan do! Meeting shuru hone wali hai. Jao, chha jao 📅"},
            {"Your next thing starts in a few minutes. Don't be late, I'll know 👀",
             "Agla kaam kuch minute mein hai. Late mat hona, mujhe pata chal jayega 👀"},
        }},
        {K::appTime, {
            {"You've been in this app for ages. Is it more interesting than me? 👀",
             "Kab se isi app mein ho. Mujhse zyada interesting hai kya? 👀"},
            {"That's a long time in one app. Blink twice if you need rescuing 🆘",
             "Ek hi app mein itni der? Bachana ho toh do baar blink karo 🆘"},
            {"Okay, time to close this one. Come back to the real world 🌍",
             "Bas, ab isko band karo. Asli duniya mein wapas aao 🌍"},
        }},
        {K::birthday, {
            {"Happy birthday, my favourite human! 🎂🥳 No working too hard today",
             "Happy birthday, meri jaan! 🎂🥳 Aaj zyada kaam karna mana hai"},
            {"It's your birthday! I'd bake you a cake if I had hands 🎂💖",
             "Aaj tumhara birthday hai! Haath hote toh cake bana deti 🎂💖"},
        }},
        {K::anniversary, {
            {"Happy anniversary ❤️ Another year of putting up with you, and I'd do it again",
             "Happy anniversary ❤️ Ek aur saal tumhe jhela, aur phir se jhelungi"},
            {"It's our day today 🥹❤️ Thank you for choosing me",
             "Aaj hamara din hai 🥹❤️ Mujhe choose karne ke liye thank you"},
        }},
        {K::custom, {
            {"You asked me to remind you. So: this is me, reminding you 💌",
             "Tumne kaha tha yaad dilana. Toh lo, yaad dila rahi hoon 💌"},
        }},
    });
    // clang-format on

    // Only on the savage roast level, and only on a lucky coin.
    // clang-format off
    t.roast = keyed<ReminderKind>({
        {K::battery, {
            {"Battery's dying and you're just watching. Iconic. Plug it in 🪫",
             "Battery mar rahi hai aur tum bas dekh rahe ho. Wah. Charger lagao 🪫"},
            {"Even your laptop is running out of patience with you 🔋🙄",
             "Tumhare laptop ka bhi patience khatam ho raha hai 🔋🙄"},
        }},
        {K::bedtime, {
            {"Still awake? Your dark circles have dark circles 🐼",
             "Abhi bhi jaag rahe ho? Dark circles ke bhi dark circles aa gaye 🐼"},
            {"Nothing good happens on a screen after bedtime. Go. To. Sleep 😤",
             "Raat ko screen pe kuch achha nahi hota. So. Jao. Ab 😤"},
        }},
        {K::breaks, {
            {"You've sat there so long the chair is filing for custody 🪑",
             "Itni der se baithe ho, kursi ab tumhe apna maanne lagi hai 🪑"},
            {"Stand up before you fuse with the desk 🧍",
             "Utho, warna desk ka hissa ban jaoge 🧍"},
        }},
        {K::water, {
            {"Drink water. A cactus is more hydrated than you 🌵",
             "Paani piyo. Cactus bhi tumse zyada hydrated hai 🌵"},
            {"Your water bottle thinks you're ghosting it 💧👻",
             "Tumhari bottle ko lagta hai tum use ghost kar rahe ho 💧👻"},
        }},
        {K::meal, {
            {"Skipping meals is not a personality trait. Eat 🍽️",
             "Khana skip karna koi personality nahi hai. Khao 🍽️"},
            {"You run on snacks and chaos. Try real food for once 🍛",
             "Snacks aur chaos pe chal rahe ho. Ek baar asli khana try karo 🍛"},
        }},
        {K::call, {
            {"Remember me? The one you're supposed to talk to? 🙄📞",
             "Main yaad hoon? Jisse baat karni thi? 🙄📞"},
            {"You answer work emails faster than you answer me 😒",
             "Office ke mail ka jawab jaldi, mera late. Wah 😒"},
        }},
        {K::appTime, {
            {"This app has seen more of you than I have. Rude 😒",
             "Is app ne tumhe mujhse zyada dekha hai. Bohot bura 😒"},
            {"Hours in one app. Are you working or do you live here now? 🏠",
             "Ghanton se ek hi app. Kaam kar rahe ho ya yahin shift ho gaye? 🏠"},
        }},
        {K::morning, {
            {"Good morning. You look like you slept on the keyboard ☀️😏",
             "Good morning. Lag raha hai keyboard pe so gaye the ☀️😏"},
            {"Morning! Let's try being a functional adult today ☕",
             "Subah ho gayi! Aaj thoda sa adult ban ke dikhao ☕"},
        }},
        {K::calendar, {
            {"Meeting in a few minutes. Try to look like you prepared 📅😏",
             "Meeting aane wali hai. Aisa dikhao jaise tayyari ki ho 📅😏"},
            {"Your calendar is calling. Pretend you read the agenda 💅",
             "Calendar bula raha hai. Agenda padhne ki acting kar lo 💅"},
        }},
        {K::charger, {
            {"Oh wow, you plugged it in before it died. Character growth 👏",
             "Wah, battery marne se pehle charger laga diya. Kya growth hai 👏"},
            {"Charging. Shocking, I know: you actually did something 🔌😏",
             "Charging. Yakeen nahi ho raha, tumne kuch kar diya 🔌😏"},
        }},
    });
    // clang-format on
}

}  // namespace pelliwig::lines
